#pragma once
// TAdvUtils: the component library's static utility class (text, markup,
// matching, JSON escaping, Base64 and hexadecimal text, image signatures,
// scaling, paths). Positions are 0-based; -1 means "not found".
#include <functional>
#include <iterator>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/rtl/Types.h"
#include "platform/vcl/Color.h"
#include "platform/vcl/Dialogs.h"
#include "platform/win/Module.h"

class TObject;
class TComponent;
class TControl;
class TCustomForm;
class TFont;
class TStream;
class TMemoryStream;
class TStrings;
class TPicture;
struct TGraphicClass;

// A character set: order kept, duplicates allowed.
using TAdvUtilsCharSet = std::vector<Char>;

// Told the file name and whether the user chose one (after SelectFile and SaveFile).
using TAdvUtilsFileCallBackEvent = std::function<void(const String& AFileName, bool AResult)>;

// A point with float coordinates (the mouse position).
struct TAdvUtilsPointF {
  Single X = 0;
  Single Y = 0;
};

class TAdvUtils {
 public:
  TAdvUtils() = delete;

  // --- searching and replacing -------------------------------------------
  // Position of su in s ignoring ASCII case; -1 when absent or su is empty.
  static Integer IPos(StringView su, StringView s);
  // Replaces the first occurrence of Srch in Dest (ASCII case ignored); false when none.
  static bool TagReplaceString(StringView Srch, StringView Repl, String& Dest);
  // Position of ASubValue in AValue, also stored in AResult; -1 when absent.
  static Integer VarPos(StringView ASubValue, StringView AValue, Integer& AResult);
  // As VarPos, ignoring ASCII case.
  static Integer VarPosNoCase(StringView ASubValue, StringView AValue, Integer& AResult);
  // Character at Index; #0 when Index is outside the text.
  static Char CharInStr(StringView s, Integer Index);

  // --- markup entities -----------------------------------------------------
  // Escapes & " < > (and with SpecialChars the entity table and characters above U+0100).
  static String FixMarkup(StringView su, bool SpecialChars = true);
  // Turns the basic entities (unless SpecialCharsOnly) and the table's names back into characters.
  static String UnFixMarkup(StringView su, bool SpecialChars = true, bool SpecialCharsOnly = false);
  // Index of Markup in the entity table's names; -1 when none.
  static Integer GetMarkupIndex(StringView Markup);
  // First entry equal to AText ignoring case (with case for accent names); -1 when none.
  static Integer IndexOfTextInArray(StringView AText, const std::vector<String>& AValues);
  // Character of entity table entry Value-1 (Value counts from 1); empty when out of range.
  static String GetSpecialChar(Integer Value);
  // True when the text holds "</", "/>" or "<BR>" (any case).
  static bool IsHTML(StringView AValue);
  static bool IsHTMLUnicode(StringView AValue);
  // The text without tags; <BR> and <HR> become line breaks; a "<" without ">" is kept.
  static String HTMLStrip(StringView AHTML);

  // --- JSON strings --------------------------------------------------------
  // ASCII JSON text of AValue: escapes for quote, backslash and control characters,
  // "\uXXXX" (upper-case hex) for every character from 128 on.
  static String EscapeString(StringView AValue);
  // Decodes JSON escapes; raises Exception("Unexpected end of string") on a final
  // backslash and Exception("Invalid code at position N") (N 1-based) on a bad escape.
  static String UnescapeString(StringView AValue);
  // Appends the escaped form of AValue to Out as bytes (the writer's fast path).
  static void AppendEscaped(std::string& Out, StringView AValue);

  // --- numbers and dates ---------------------------------------------------
  // Float text with "." as decimal separator, whatever the locale; false on bad text or overflow.
  static bool TryStrToFloatDot(StringView AValue, Double& AResult);
  // As TryStrToFloatDot; raises EConvertError on bad text.
  static Double StrToFloatDot(StringView AValue);
  // General float text (15 significant digits, exponent for very large or small values) with ".".
  static String FloatToStrDot(Double AValue);
  // The same text as bytes (the writer's fast path).
  static void AppendFloatDot(std::string& Out, Double AValue);
  // Seconds since 1970-01-01 UTC given as text, as a date-time; EConvertError on bad text.
  static TDateTime EpochToDateTime(StringView AEpoch);
  // ps without the current thousands separator.
  static String StripThousandSep(StringView ps);
  // Date (and optional time) in the current short date order and separators;
  // false on anything else (ADate then holds the date part when that was valid). Never raises.
  static bool IsDate(StringView AValue, TDateTime& ADate);

  // --- URL and hexadecimal text --------------------------------------------
  // UTF-8 bytes, unreserved characters kept, everything else as %XX.
  static String URLEncode(StringView AURL);
  // %XX (upper-case digits) decoded, then read as UTF-8 and trimmed.
  static String URLDecode(StringView AURL);
  // Each pair of hex digits gives a byte; EConvertError on a bad digit, ERangeError on an odd length.
  static TBytes HexStrToBytes(StringView AValue);

  // --- character sets ------------------------------------------------------
  static TAdvUtilsCharSet NumericCharSet();
  static TAdvUtilsCharSet AlphaCharSet();
  static TAdvUtilsCharSet CreateCharSet(StringView AValue);
  static TAdvUtilsCharSet AddCharSet(const TAdvUtilsCharSet& ACharSet1, const TAdvUtilsCharSet& ACharSet2);
  static TAdvUtilsCharSet SubCharSet(const TAdvUtilsCharSet& ACharSet1, const TAdvUtilsCharSet& ACharSet2);
  static bool CharInSet(Char ch, const TAdvUtilsCharSet& ACharSet);
  // First character of AValue in ACharset outside double quotes; spos its position (-1 and #0 when none).
  static Char FirstChar(const TAdvUtilsCharSet& ACharset, StringView AValue, Integer& spos);
  // AValue without blanks outside double quotes.
  static String StripLogicSpaces(StringView AValue);
  // Position of the ")" that balances the parentheses seen so far; -1 when none.
  static Integer ClosingParenthesis(StringView s1);

  // --- matching and splitting ------------------------------------------------
  // Filter condition s0a (">", ">=", "<", "<=", "!", "^", "&" comparisons, else a
  // wildcard pattern with "*", "?" and a negating "!") against the value s1a.
  static bool Matches(StringView s0a, StringView s1a);
  // Matches, upper-casing both first unless ACaseSensitive.
  static bool MatchStr(StringView AValue1, StringView AValue2, bool ACaseSensitive);
  // A filter expression of MatchStr terms joined by "&", "|", ";", "^" with parentheses.
  static bool MatchStrEx(StringView AValue1, StringView AValue2, bool ACaseSensitive);
  // AStrings := the parts of AInput between ADelimiter (quotes group); empty parts
  // dropped when AClearEmptyStrings. A null AStrings does nothing.
  static void Split(Char ADelimiter, StringView AInput, TStrings* AStrings, bool AClearEmptyStrings = false);

  // --- Base64 and hexadecimal text of streams --------------------------------
  // The stream's bytes from position 0 to its end in Base64 (AURL: "-", "_", no "=").
  static String SaveStreamToBase64(TStream* AStream, bool AURL = false);
  // Writes the decoded bytes at the stream's position.
  static void LoadStreamFromBase64(StringView ABase64, TStream* AStream, bool AURL = false);
  // The stream's bytes from position 0 as upper-case hex.
  static String SaveStreamToHexStr(TStream* AStream);
  // Writes the bytes of the hex text (an odd last digit ignored) at the stream's
  // position; EConvertError on a bad digit (nothing written then).
  static void LoadStreamFromHexStr(StringView AHexStr, TStream* AStream);
  // Standard Base64 of the bytes without line breaks; AURL gives the URL alphabet without "=".
  static String EncodeBytesToBase64(const std::uint8_t* AData, std::size_t ASize, bool AURL);
  // Base64 text to bytes; characters outside the alphabet are skipped; never raises.
  static TBytes Decode64ToBytes(StringView AValue, bool AURL = false);
  // Each byte as two upper-case hex digits.
  static String BytesToHexStr(const std::uint8_t* AData, std::size_t ASize);

  // --- image formats -------------------------------------------------------
  // Extension of the first signature table entry matching the first four bytes;
  // empty with fewer than four bytes or no match.
  static String GetImageTypeOfBytes(const std::uint8_t* AData, std::size_t ASize);
  // The same for the first four bytes of the stream (from 0 with AResetPosition,
  // else from its position); the position is restored.
  static String GetImageType(TStream* AData, bool AResetPosition = true);
  // The same for the picture's graphic as saved; empty for nullptr or a picture without graphic.
  static String GetImageType(TPicture* ABitmap, bool AResetPosition = true);
  // The registered picture class for the format the first bytes name (TIFF, BMP,
  // JPEG, PNG, metafile, GIF, icon); false for no bytes, an unknown format or a
  // format no picture class is registered for (GraphicClass is then nullptr).
  static bool FindGraphicClass(const void* Buffer, Int64 BufferSize, const TGraphicClass*& GraphicClass);

  // --- Base64 and hexadecimal text of pictures --------------------------------
  // The picture's graphic as saved, in Base64 / hex; empty for nullptr, no graphic or an empty graphic.
  static String SaveBitmapToBase64(TPicture* ABitmap, bool AURL = false);
  static String SaveBitmapToHexStr(TPicture* ABitmap);
  // Drops a data-URI prefix through ";base64,", decodes and loads by content.
  // No bytes: the picture is left as it was. Unknown or damaged picture data
  // raises EInvalidGraphic and leaves the picture as it was.
  static void LoadBitmapFromBase64(StringView ABase64, TPicture* ABitmap, bool AURL = false);
  // Loads the picture whose class FindGraphicClass names (an odd last digit
  // ignored); nothing for Base64 text inside, no bytes or an unknown format.
  // EConvertError on a bad digit, EInvalidGraphic on damaged data (picture kept).
  static void LoadBitmapFromHexStr(StringView AHexStr, TPicture* ABitmap);
  // A new picture loaded as above (owned by the caller); errors as above.
  static std::unique_ptr<TPicture> CreateBitmapFromHexStr(StringView AHexStr);
  static std::unique_ptr<TPicture> CreateBitmapFromBase64(StringView ABase64, bool AURL = false);
  // The picture as JPEG bytes at position 0: a JPEG unchanged, another format
  // drawn on ABackgroundColor (white for clNone or -1) and compressed at
  // Round(AQuality * 100). nullptr for nullptr, no or an empty graphic, or an
  // unknown format; ERangeError when the quality falls outside 1..100.
  static std::unique_ptr<TMemoryStream> ConvertBitmapToJPEGStream(TPicture* ABitmap, Single AQuality,
                                                                  TColor ABackgroundColor);

  // --- DPI and fonts -------------------------------------------------------
  // Scale of the form of AOwner (AOwner itself, its parent form, or its owner
  // form; the main form for nullptr): 1.0 without a form or for an unscaled
  // one, else the monitor's pixels per inch / ADefaultDPI (/ the form's own
  // PixelsPerInch when ADefaultDPI <= 0).
  static Single GetDPIScale(TComponent* AOwner, Integer ADefaultDPI);
  // GetDPIScale above 1.
  static bool IsHighDPIScale(TComponent* AOwner, Integer ADefaultDPI);
  // Font height := -MulDivInt(Round(ASize / 96 * 72), Round(AScaleFactor * 96), 72); nothing for nullptr.
  static void SetFontSize(TFont* AFont, Single ASize, Single AScaleFactor);

  // --- scaling and sizes ---------------------------------------------------
  // nNumber * nNumerator / nDenominator rounded half away from zero (clamped to
  // the Integer range); -1 when nDenominator is 0.
  static Integer MulDivInt(Integer nNumber, Integer nNumerator, Integer nDenominator);
  // nNumber * nNumerator / nDenominator; -1 when nDenominator is 0.
  static Single MulDivSingle(Single nNumber, Single nNumerator, Single nDenominator);
  // "512 Bytes", "1.50 KB" ... "TB" (larger sizes stay in TB); empty for -1 or less.
  static String FormatBytesAsString(Extended ASize);

  // --- paths and system ----------------------------------------------------
  // AValue with a trailing "\" (or "/"); an empty text stays empty.
  static String AddBackslash(StringView AValue);
  static String AddForwardslash(StringView AValue);
  // The temporary folder with a trailing separator.
  static String GetTempPath();
  // The program's folder with a trailing separator.
  static String GetAppPath();
  // The user's documents folder; raises EOSError when it is unknown (no home folder).
  static String GetDocumentsPath();
  // The program's module handle.
  static HINSTANCE GetHInstance();
  // Opens the file or URL with the desktop's opener; failures are ignored.
  static void OpenFile(StringView AFile, TObject* AControlReference = nullptr);
  static void OpenURL(StringView AURL);
  // A read-only stream over the program's raw-data resource of that name; nullptr when none.
  static std::unique_ptr<TStream> GetResourceStream(StringView AResourceName, HINSTANCE AInstance = nullptr);
  // Writes the text to the diagnostic output (standard error).
  static void Log(StringView AMessage);
  // A new stream (owned by the caller) with the body of the image at AURL
  // (http, https or file; redirects followed); empty when the response's
  // content type is not an image; the position is left at the end. Exception "Unable to initialize Wininet" when
  // no session opens, "Cannot open URL <AURL>" when the request fails.
  static std::unique_ptr<TMemoryStream> DownloadImage(StringView AURL);

  // --- dialogs, fonts, forms and the mouse ----------------------------------
  // Open dialog for an existing file (AFilter "Text|*.txt|..."), in
  // ADefaultFolder or the documents folder; on OK AFileName := the file and
  // true. ACallBack (when set) hears the name and the result. EOSError when
  // the documents folder is needed and unknown.
  static bool SelectFile(String& AFileName, StringView ADefaultFolder, StringView AFilter,
                         const TAdvUtilsFileCallBackEvent& ACallBack = {});
  // Save dialog with an overwrite prompt, in AFileName's folder (or the
  // documents folder) offering its name; on OK AFileName := the chosen name,
  // given AFileName's former extension when it has none. Callback and errors as SelectFile.
  static bool SaveFile(String& AFileName, StringView AFilter, const TAdvUtilsFileCallBackEvent& ACallBack = {});
  // The class library's message dialog with AMessage; answers the chosen
  // button's result (mrOk...). The short form: an information box with OK.
  static Integer Message(StringView AMessage);
  static Integer Message(StringView AMessage, TMsgDlgType ADialogType, TMsgDlgButtons AButtons, Integer AHelpContext);
  // FontList := the screen's font families, sorted, without repeated names; nothing for nullptr.
  static void GetFonts(TStrings* FontList);
  // A new unnamed, unowned component of AComponent's class with its stored
  // published properties (sub-objects, lists and collections copied, component
  // references kept); nullptr for nullptr; EClassNotFound when the component's
  // own class is not declared to the type information or cannot be created.
  static std::unique_ptr<TComponent> Clone(TComponent* AComponent);
  // The first form among the component's owners; nullptr when none.
  static TCustomForm* GetOwnerForm(TComponent* AComponent);
  // The control's top-level parent form; nullptr when none.
  static TCustomForm* GetParentForm(TControl* AControl);
  // The pointer's screen position.
  static TAdvUtilsPointF GetMousePos();

  // --- per-object JSON (the persistence layer's operations) ------------------
  static String ToJSON(TObject* AObject);
  // Without the named properties.
  static String ToJSON(TObject* AObject, const std::vector<String>& AExcludedProperties);
  // Reads the JSON text into the object; the reader's exceptions pass through.
  static void FromJSON(TObject* AObject, StringView Value);
  // File and stream errors pass through as the stream classes raise them.
  static void SaveToJSONFile(TObject* AObject, const String& AFileName);
  static void LoadFromJSONFile(TObject* AObject, const String& AFileName);
  static void SaveToJSONStream(TObject* AObject, TStream* AStream);
  static void LoadFromJSONStream(TObject* AObject, TStream* AStream);
};

// The clipboard format names the unit registers at start-up, in this order.
inline constexpr std::u16string_view kAdvClipboardFormatNames[] = {
    u"RichEditorText", u"TAdvClipBoard.StreamFormat", u"Rich Text Format", u"HTML Format"};
constexpr Integer kAdvClipboardFormatCount = Integer(std::size(kAdvClipboardFormatNames));

// The unit's start: registers the clipboard formats above. Called from the
// program's start-up sequence; calling it again registers nothing new.
// ERangeError when a format number does not fit in 16 bits.
void InitializeAdvUtilsUnit();
// The number registered for kAdvClipboardFormatNames[Index]; 0 before the
// unit's start or for an index outside the list.
Word AdvClipboardFormat(Integer Index);
// The picture format the unit keeps (the bitmap format).
constexpr Word kAdvPictureClipboardFormat = 2;
