#pragma once
// The GDI calls the program draws through: device contexts, pens, brushes,
// fonts, regions, bitmaps, text and blits, with Windows' names and numbers.
// Handles are pointers to the layer's objects; a stale or foreign handle is
// refused (the call answers 0 / FALSE / nullptr) rather than followed.
// Pixel rules as on Windows: no antialiasing, filled shapes exclude their
// right and bottom edge, LineTo omits its last pixel, Rectangle keeps its pen
// inside the bounds.
#include <cstdint>

#include "platform/rtl/Geometry.h"
#include "platform/rtl/Types.h"
#include "platform/win/KernelHandles.h"

using BOOL = int;
using UINT = unsigned int;
using LONG = std::int32_t;
using ULONG_PTR = std::uintptr_t;
using COLORREF = DWORD;  // 0x00BBGGRR
using WCHAR = char16_t;

// FALSE and TRUE come from the kernel-handle header, so both headers can meet in one file.

// Handle families. Every GDI object derives from HGDIOBJ__, so an HPEN or an
// HFONT passes where an HGDIOBJ is asked for, as STRICT Windows code expects.
struct HGDIOBJ__ { virtual ~HGDIOBJ__() = default; };
struct HPEN__ : HGDIOBJ__ {};
struct HBRUSH__ : HGDIOBJ__ {};
struct HFONT__ : HGDIOBJ__ {};
struct HBITMAP__ : HGDIOBJ__ {};
struct HRGN__ : HGDIOBJ__ {};
struct HPALETTE__ : HGDIOBJ__ {};  // no palettes are ever made: every surface is true colour
struct HDC__;
struct HICON__;
using HGDIOBJ = HGDIOBJ__*;
using HPEN = HPEN__*;
using HBRUSH = HBRUSH__*;
using HFONT = HFONT__*;
using HBITMAP = HBITMAP__*;
using HRGN = HRGN__*;
using HPALETTE = HPALETTE__*;
using HDC = HDC__*;
using HICON = HICON__*;

constexpr COLORREF RGB(Byte r, Byte g, Byte b) { return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16); }
constexpr Byte GetRValue(COLORREF c) { return Byte(c & 0xFF); }
constexpr Byte GetGValue(COLORREF c) { return Byte((c >> 8) & 0xFF); }
constexpr Byte GetBValue(COLORREF c) { return Byte((c >> 16) & 0xFF); }
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// Pen styles and types.
constexpr UINT PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5,
               PS_INSIDEFRAME = 6, PS_USERSTYLE = 7, PS_ALTERNATE = 8, PS_STYLE_MASK = 0x0000000F;
constexpr UINT PS_ENDCAP_ROUND = 0, PS_ENDCAP_SQUARE = 0x100, PS_ENDCAP_FLAT = 0x200, PS_ENDCAP_MASK = 0xF00;
constexpr UINT PS_JOIN_ROUND = 0, PS_JOIN_BEVEL = 0x1000, PS_JOIN_MITER = 0x2000, PS_JOIN_MASK = 0xF000;
constexpr UINT PS_COSMETIC = 0, PS_GEOMETRIC = 0x10000, PS_TYPE_MASK = 0xF0000;

// Brush styles and hatches.
constexpr UINT BS_SOLID = 0, BS_NULL = 1, BS_HOLLOW = 1, BS_HATCHED = 2, BS_PATTERN = 3;
constexpr int HS_HORIZONTAL = 0, HS_VERTICAL = 1, HS_FDIAGONAL = 2, HS_BDIAGONAL = 3, HS_CROSS = 4, HS_DIAGCROSS = 5;

struct LOGPEN {
  UINT lopnStyle = PS_SOLID;
  POINT lopnWidth{};
  COLORREF lopnColor = 0;
};

struct LOGBRUSH {
  UINT lbStyle = BS_SOLID;
  COLORREF lbColor = 0;
  ULONG_PTR lbHatch = 0;  // hatch style, or the HBITMAP of a pattern brush
};

// Fonts.
constexpr int LF_FACESIZE = 32;
constexpr LONG FW_DONTCARE = 0, FW_THIN = 100, FW_LIGHT = 300, FW_NORMAL = 400, FW_MEDIUM = 500,
               FW_SEMIBOLD = 600, FW_BOLD = 700, FW_HEAVY = 900;
constexpr Byte ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2, EASTEUROPE_CHARSET = 238;
constexpr Byte OUT_DEFAULT_PRECIS = 0, CLIP_DEFAULT_PRECIS = 0;
constexpr Byte DEFAULT_QUALITY = 0, DRAFT_QUALITY = 1, PROOF_QUALITY = 2, NONANTIALIASED_QUALITY = 3,
               ANTIALIASED_QUALITY = 4, CLEARTYPE_QUALITY = 5;
constexpr Byte DEFAULT_PITCH = 0, FIXED_PITCH = 1, VARIABLE_PITCH = 2;

struct LOGFONTW {
  LONG lfHeight = 0;       // < 0: character (em) height in pixels; > 0: cell height
  LONG lfWidth = 0;
  LONG lfEscapement = 0;   // tenths of a degree, counter-clockwise
  LONG lfOrientation = 0;
  LONG lfWeight = FW_NORMAL;
  Byte lfItalic = 0;
  Byte lfUnderline = 0;
  Byte lfStrikeOut = 0;
  Byte lfCharSet = DEFAULT_CHARSET;
  Byte lfOutPrecision = OUT_DEFAULT_PRECIS;
  Byte lfClipPrecision = CLIP_DEFAULT_PRECIS;
  Byte lfQuality = DEFAULT_QUALITY;
  Byte lfPitchAndFamily = DEFAULT_PITCH;
  WCHAR lfFaceName[LF_FACESIZE] = {};
};
using LOGFONT = LOGFONTW;

// The 8-bit record (60 bytes): the same fields with a face name in the ANSI code page.
struct LOGFONTA {
  LONG lfHeight = 0;
  LONG lfWidth = 0;
  LONG lfEscapement = 0;
  LONG lfOrientation = 0;
  LONG lfWeight = FW_NORMAL;
  Byte lfItalic = 0;
  Byte lfUnderline = 0;
  Byte lfStrikeOut = 0;
  Byte lfCharSet = DEFAULT_CHARSET;
  Byte lfOutPrecision = OUT_DEFAULT_PRECIS;
  Byte lfClipPrecision = CLIP_DEFAULT_PRECIS;
  Byte lfQuality = DEFAULT_QUALITY;
  Byte lfPitchAndFamily = DEFAULT_PITCH;
  char lfFaceName[LF_FACESIZE] = {};
};

struct TEXTMETRICW {
  LONG tmHeight = 0;
  LONG tmAscent = 0;
  LONG tmDescent = 0;
  LONG tmInternalLeading = 0;
  LONG tmExternalLeading = 0;
  LONG tmAveCharWidth = 0;
  LONG tmMaxCharWidth = 0;
  LONG tmWeight = 0;
  LONG tmOverhang = 0;
  LONG tmDigitizedAspectX = 96;
  LONG tmDigitizedAspectY = 96;
  WCHAR tmFirstChar = 0x20;
  WCHAR tmLastChar = 0xFFFC;
  WCHAR tmDefaultChar = 0x1F;
  WCHAR tmBreakChar = 0x20;
  Byte tmItalic = 0;
  Byte tmUnderlined = 0;
  Byte tmStruckOut = 0;
  Byte tmPitchAndFamily = 0;
  Byte tmCharSet = 0;
};
using TEXTMETRIC = TEXTMETRICW;

// Bitmaps.
constexpr DWORD BI_RGB = 0, BI_BITFIELDS = 3;
constexpr UINT DIB_RGB_COLORS = 0;

struct BITMAP {
  LONG bmType = 0;
  LONG bmWidth = 0;
  LONG bmHeight = 0;
  LONG bmWidthBytes = 0;
  Word bmPlanes = 1;
  Word bmBitsPixel = 0;
  void* bmBits = nullptr;  // the pixels of a DIB section, else null
};

struct BITMAPINFOHEADER {
  DWORD biSize = sizeof(BITMAPINFOHEADER);
  LONG biWidth = 0;
  LONG biHeight = 0;  // > 0 bottom-up rows, < 0 top-down rows
  Word biPlanes = 1;
  Word biBitCount = 0;
  DWORD biCompression = BI_RGB;
  DWORD biSizeImage = 0;
  LONG biXPelsPerMeter = 0;
  LONG biYPelsPerMeter = 0;
  DWORD biClrUsed = 0;
  DWORD biClrImportant = 0;
};

struct RGBQUAD {
  Byte rgbBlue = 0;
  Byte rgbGreen = 0;
  Byte rgbRed = 0;
  Byte rgbReserved = 0;
};

struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];  // a palette may follow for 1, 4 and 8 bits per pixel
};

// Raster operations of BitBlt and StretchBlt.
constexpr DWORD SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6, SRCINVERT = 0x00660046,
                SRCERASE = 0x00440328, NOTSRCCOPY = 0x00330008, NOTSRCERASE = 0x001100A6,
                MERGECOPY = 0x00C000CA, MERGEPAINT = 0x00BB0226, PATCOPY = 0x00F00021,
                PATPAINT = 0x00FB0A09, PATINVERT = 0x005A0049, DSTINVERT = 0x00550009,
                BLACKNESS = 0x00000042, WHITENESS = 0x00FF0062;

// Line raster operations of SetROP2.
constexpr int R2_BLACK = 1, R2_NOT = 6, R2_XORPEN = 7, R2_COPYPEN = 13, R2_WHITE = 16;

struct BLENDFUNCTION {
  Byte BlendOp = 0;
  Byte BlendFlags = 0;
  Byte SourceConstantAlpha = 255;
  Byte AlphaFormat = 0;
};
constexpr Byte AC_SRC_OVER = 0, AC_SRC_ALPHA = 1;

// Background modes, stock objects, region answers.
constexpr int TRANSPARENT = 1, OPAQUE = 2;
constexpr int WHITE_BRUSH = 0, LTGRAY_BRUSH = 1, GRAY_BRUSH = 2, DKGRAY_BRUSH = 3, BLACK_BRUSH = 4,
              NULL_BRUSH = 5, HOLLOW_BRUSH = 5, WHITE_PEN = 6, BLACK_PEN = 7, NULL_PEN = 8,
              SYSTEM_FONT = 13, DEFAULT_GUI_FONT = 17, DC_BRUSH = 18, DC_PEN = 19;
constexpr int ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3, RGN_ERROR = 0;
constexpr int RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5;
constexpr int ALTERNATE = 1, WINDING = 2;

// GetDeviceCaps indexes.
constexpr int HORZRES = 8, VERTRES = 10, BITSPIXEL = 12, PLANES = 14, LOGPIXELSX = 88, LOGPIXELSY = 90;

// DrawText flags.
constexpr UINT DT_TOP = 0, DT_LEFT = 0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
               DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_TABSTOP = 0x80,
               DT_NOCLIP = 0x100, DT_EXTERNALLEADING = 0x200, DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800,
               DT_INTERNAL = 0x1000, DT_EDITCONTROL = 0x2000, DT_PATH_ELLIPSIS = 0x4000,
               DT_END_ELLIPSIS = 0x8000, DT_MODIFYSTRING = 0x10000, DT_RTLREADING = 0x20000,
               DT_WORD_ELLIPSIS = 0x40000, DT_NOFULLWIDTHCHARBREAK = 0x80000, DT_HIDEPREFIX = 0x100000,
               DT_PREFIXONLY = 0x200000;

struct DRAWTEXTPARAMS {
  UINT cbSize = sizeof(DRAWTEXTPARAMS);
  int iTabLength = 0;   // in average character widths
  int iLeftMargin = 0;
  int iRightMargin = 0;
  UINT uiLengthDrawn = 0;
};

// ExtTextOut options.
constexpr UINT ETO_OPAQUE = 0x2, ETO_CLIPPED = 0x4;

// DrawEdge.
constexpr UINT BDR_RAISEDOUTER = 0x1, BDR_SUNKENOUTER = 0x2, BDR_RAISEDINNER = 0x4, BDR_SUNKENINNER = 0x8;
constexpr UINT EDGE_RAISED = 0x5, EDGE_SUNKEN = 0xA, EDGE_ETCHED = 0x6, EDGE_BUMP = 0x9;
constexpr UINT BF_LEFT = 0x1, BF_TOP = 0x2, BF_RIGHT = 0x4, BF_BOTTOM = 0x8, BF_TOPLEFT = 0x3,
               BF_BOTTOMRIGHT = 0xC, BF_RECT = 0xF, BF_MIDDLE = 0x800, BF_SOFT = 0x1000,
               BF_ADJUST = 0x2000, BF_FLAT = 0x4000, BF_MONO = 0x8000;

// DrawIconEx.
constexpr UINT DI_MASK = 0x1, DI_IMAGE = 0x2, DI_NORMAL = 0x3, DI_COMPAT = 0x4, DI_DEFAULTSIZE = 0x8,
               DI_NOMIRROR = 0x10;

// System colour indexes (GetSysColor).
constexpr int COLOR_SCROLLBAR = 0, COLOR_BACKGROUND = 1, COLOR_ACTIVECAPTION = 2, COLOR_INACTIVECAPTION = 3,
              COLOR_MENU = 4, COLOR_WINDOW = 5, COLOR_WINDOWFRAME = 6, COLOR_MENUTEXT = 7,
              COLOR_WINDOWTEXT = 8, COLOR_CAPTIONTEXT = 9, COLOR_ACTIVEBORDER = 10,
              COLOR_INACTIVEBORDER = 11, COLOR_APPWORKSPACE = 12, COLOR_HIGHLIGHT = 13,
              COLOR_HIGHLIGHTTEXT = 14, COLOR_BTNFACE = 15, COLOR_BTNSHADOW = 16, COLOR_GRAYTEXT = 17,
              COLOR_BTNTEXT = 18, COLOR_INACTIVECAPTIONTEXT = 19, COLOR_BTNHIGHLIGHT = 20,
              COLOR_3DDKSHADOW = 21, COLOR_3DLIGHT = 22, COLOR_INFOTEXT = 23, COLOR_INFOBK = 24,
              COLOR_HOTLIGHT = 26, COLOR_GRADIENTACTIVECAPTION = 27, COLOR_GRADIENTINACTIVECAPTION = 28,
              COLOR_MENUHILIGHT = 29, COLOR_MENUBAR = 30;

// ---- Colours -------------------------------------------------------------
// The fixed system-colour table (one look, the same on every machine); an
// index outside 0..30 answers 0.
COLORREF GetSysColor(int index);
// A solid stock brush of a system colour; nullptr for an unknown index.
HBRUSH GetSysColorBrush(int index);

// ---- Objects -------------------------------------------------------------
// A pen of the style, width and colour; a width below 1 is a one-pixel pen.
HPEN CreatePen(int style, int width, COLORREF color);
// A cosmetic (width 1; PS_ALTERNATE sets every other pixel) or geometric pen;
// nullptr for a null brush description or a cosmetic width above 1.
HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
// A brush that tiles the bitmap (copied; the bitmap may be deleted afterwards).
HBRUSH CreatePatternBrush(HBITMAP bitmap);
// A font matching the description through the project's font set; never
// nullptr for a non-null argument (an unknown face falls back to the sans family).
HFONT CreateFontIndirectW(const LOGFONTW* font);
HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, const WCHAR* faceName);
HGDIOBJ GetStockObject(int index);
// Frees the object. Stock objects are ignored. An object still selected into
// a DC stays usable there until it is replaced. FALSE for an unknown handle.
BOOL DeleteObject(HGDIOBJ object);
// Copies the object's description (LOGPEN, LOGBRUSH, LOGFONTW, BITMAP) into
// buffer; answers the bytes written, or the size needed when buffer is null; 0 on failure.
int GetObjectW(HGDIOBJ object, int size, void* buffer);
inline int GetObject(HGDIOBJ object, int size, void* buffer) { return GetObjectW(object, size, buffer); }
// As GetObjectW, but a font answers a LOGFONTA (face name in the ANSI code page).
int GetObjectA(HGDIOBJ object, int size, void* buffer);

// ---- Bitmaps -------------------------------------------------------------
// A 32-bit opaque bitmap (the screen's format), cleared to black; nullptr for
// sizes below 1 or above 16384 in either direction.
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// A bitmap of 1, 4, 8, 16, 24 or 32 bits per pixel from optional row data
// (word-aligned rows, top row first); nullptr for bad sizes or bit counts.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits);
// A DIB section of 24 or 32 bits per pixel; *bits receives its pixel memory.
// Rows in memory run top-down whatever the sign of biHeight (32 bits: blue,
// green, red, alpha premultiplied; 24 bits: blue, green, red; rows padded to
// 4 bytes). nullptr for bad sizes or bit counts.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, void* section, DWORD offset);
// Copies rows of the bitmap into bits in the format info describes (24 or 32
// bits, bottom-up for biHeight > 0); answers the rows copied, 0 on failure.
// With bits null, fills in info's header and answers the height.
int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage);

// ---- Device contexts -----------------------------------------------------
// A memory DC with a 1x1 black bitmap selected; reference DC ignored.
HDC CreateCompatibleDC(HDC reference);
BOOL DeleteDC(HDC dc);
// Selects a pen, brush, font or bitmap (a region: SelectClipRgn, answering
// the region kind). Answers the object it replaces; nullptr for a bad DC or
// object, or for a bitmap already selected into another DC.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
constexpr UINT OBJ_PEN = 1, OBJ_BRUSH = 2, OBJ_FONT = 6, OBJ_BITMAP = 7;
// Pushes the DC's state; answers the new level (>= 1), 0 for a bad DC.
int SaveDC(HDC dc);
// Pops to level (> 0) or by -level steps (< 0); FALSE for a level not saved.
BOOL RestoreDC(HDC dc, int level);
int GetDeviceCaps(HDC dc, int index);

BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* old);
BOOL GetWindowOrgEx(HDC dc, POINT* org);
BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* old);
BOOL GetViewportOrgEx(HDC dc, POINT* org);

// Old value answered; CLR_INVALID / 0 for a bad DC.
COLORREF SetBkColor(HDC dc, COLORREF color);
int SetBkMode(HDC dc, int mode);
COLORREF SetTextColor(HDC dc, COLORREF color);
int SetROP2(HDC dc, int rop);

// ---- Regions and clipping ------------------------------------------------
HRGN CreateRectRgn(int l, int t, int r, int b);
// A rectangle with corners rounded by ellipses of w x h.
HRGN CreateRoundRectRgn(int l, int t, int r, int b, int w, int h);
// The inside of the polygon (closed from the last point to the first) by the
// fill mode: WINDING (every point the outline winds round) or ALTERNATE
// (even-odd). nullptr for nullptr points, fewer than 3 or more than 65536
// points, or another mode.
HRGN CreatePolygonRgn(const POINT* Points, int Count, int Mode);
// Dest := a op b (b unused for RGN_COPY); answers the kind of dest, ERROR on bad handles.
int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode);
BOOL PtInRegion(HRGN rgn, int x, int y);
// Region in device coordinates; nullptr removes the clip. Answers the kind.
int SelectClipRgn(HDC dc, HRGN rgn);
int ExtSelectClipRgn(HDC dc, HRGN rgn, int mode);
// Logical coordinates. Answer the kind of the new clip.
int IntersectClipRect(HDC dc, int l, int t, int r, int b);
int ExcludeClipRect(HDC dc, int l, int t, int r, int b);
// The visible part in logical coordinates; answers its kind.
int GetClipBox(HDC dc, RECT* r);

// ---- Drawing -------------------------------------------------------------
// Fills [l, r) x [t, b) with the brush; FALSE for a bad DC or brush.
int FillRect(HDC dc, const RECT* r, HBRUSH brush);
int FrameRect(HDC dc, const RECT* r, HBRUSH brush);
BOOL PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop);
BOOL Rectangle(HDC dc, int l, int t, int r, int b);
BOOL RoundRect(HDC dc, int l, int t, int r, int b, int w, int h);
BOOL Ellipse(HDC dc, int l, int t, int r, int b);
BOOL Polygon(HDC dc, const POINT* points, int count);
BOOL Polyline(HDC dc, const POINT* points, int count);
BOOL PolyBezier(HDC dc, const POINT* points, DWORD count);
BOOL MoveToEx(HDC dc, int x, int y, POINT* old);
BOOL GetCurrentPositionEx(HDC dc, POINT* p);
BOOL LineTo(HDC dc, int x, int y);
// The arc of the ellipse in (l,t,r,b) counter-clockwise from the ray to
// (x1,y1) to the ray to (x2,y2).
BOOL Arc(HDC dc, int l, int t, int r, int b, int x1, int y1, int x2, int y2);
BOOL Pie(HDC dc, int l, int t, int r, int b, int x1, int y1, int x2, int y2);
BOOL Chord(HDC dc, int l, int t, int r, int b, int x1, int y1, int x2, int y2);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
// CLR_INVALID outside the surface or the clip.
COLORREF GetPixel(HDC dc, int x, int y);
// XOR of a dotted outline (every other pixel): drawing it twice restores.
BOOL DrawFocusRect(HDC dc, const RECT* r);
BOOL DrawEdge(HDC dc, RECT* r, UINT edge, UINT flags);

// Path brackets: figures drawn between BeginPath and EndPath build a path.
BOOL BeginPath(HDC dc);
BOOL EndPath(HDC dc);
// Drops the path being built (or built) without drawing it.
BOOL AbortPath(HDC dc);
BOOL CloseFigure(HDC dc);
BOOL StrokePath(HDC dc);
BOOL FillPath(HDC dc);

// ---- Text ----------------------------------------------------------------
// tmPitchAndFamily bits (TMPF_FIXED_PITCH set means variable pitch, as GDI has it).
constexpr Byte TMPF_FIXED_PITCH = 0x01, TMPF_VECTOR = 0x02, TMPF_TRUETYPE = 0x04, TMPF_DEVICE = 0x08;
BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* tm);
BOOL GetTextExtentPoint32W(HDC dc, const WCHAR* text, int count, SIZE* size);
// The top-left of the text's cell at (x, y) (rotated with the font's escapement).
BOOL TextOutW(HDC dc, int x, int y, const WCHAR* text, int count);
inline BOOL TextOut(HDC dc, int x, int y, const WCHAR* text, int count) { return TextOutW(dc, x, y, text, count); }
BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* r, const WCHAR* text, UINT count, const int* dx);
// Formats text in r. count -1: up to the terminating zero. Answers the text
// height (with DT_VCENTER/DT_BOTTOM the offset of its bottom), 0 on failure;
// DT_CALCRECT measures into r without drawing.
int DrawTextW(HDC dc, const WCHAR* text, int count, RECT* r, UINT format);
int DrawTextExW(HDC dc, const WCHAR* text, int count, RECT* r, UINT format, DRAWTEXTPARAMS* params);
inline int DrawText(HDC dc, const WCHAR* text, int count, RECT* r, UINT format) {
  return DrawTextW(dc, text, count, r, format);
}

// ---- Blits ---------------------------------------------------------------
BOOL BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop);
// Nearest-pixel scaling; a negative width or height mirrors.
BOOL StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, DWORD rop);
// Blends src over dst: constant alpha, and with AC_SRC_ALPHA the source's
// premultiplied alpha. FALSE for bad handles or a source outside its surface.
BOOL AlphaBlend(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, BLENDFUNCTION blend);
// Copies every source pixel except those of the transparent colour.
BOOL TransparentBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, UINT transparent);
// Draws packed DIB rows (1/4/8 bits with palette, 24 or 32 bits); answers
// the rows drawn, 0 on failure.
int StretchDIBits(HDC dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh, const void* bits,
                  const BITMAPINFO* info, UINT usage, DWORD rop);

// ---- Icons ---------------------------------------------------------------
struct ICONINFO {
  BOOL fIcon = TRUE;
  DWORD xHotspot = 0;
  DWORD yHotspot = 0;
  HBITMAP hbmMask = nullptr;
  HBITMAP hbmColor = nullptr;
};
HICON CopyIcon(HICON icon);
BOOL DestroyIcon(HICON icon);
// Draws the icon at (x, y) in w x h (0: its own size).
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int w, int h, UINT step, HBRUSH flicker, UINT flags);
