#pragma once
// Image lists: TCustomImageList/TImageList hold equally sized pictures with
// transparency and draw them enabled or disabled; the HIMAGELIST calls draw
// from the same store.
#include <memory>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/rtl/Component.h"
#include "platform/vcl/Color.h"

class TBitmap;
class TCanvas;
class TCustomImageList;
class TIcon;

struct HIMAGELIST__;
using HIMAGELIST = HIMAGELIST__*;

constexpr UINT ILD_NORMAL = 0x0, ILD_TRANSPARENT = 0x1, ILD_BLEND25 = 0x2, ILD_BLEND50 = 0x4, ILD_MASK = 0x10,
               ILD_IMAGE = 0x20;
constexpr DWORD ILS_NORMAL = 0x0, ILS_GLOW = 0x1, ILS_SHADOW = 0x2, ILS_SATURATE = 0x4, ILS_ALPHA = 0x8;

struct IMAGELISTDRAWPARAMS {
  DWORD cbSize = sizeof(IMAGELISTDRAWPARAMS);
  HIMAGELIST himl = nullptr;
  int i = 0;
  HDC hdcDst = nullptr;
  int x = 0, y = 0, cx = 0, cy = 0, xBitmap = 0, yBitmap = 0;
  COLORREF rgbBk = CLR_INVALID, rgbFg = CLR_INVALID;
  UINT fStyle = ILD_NORMAL;
  DWORD dwRop = 0;
  DWORD fState = ILS_NORMAL;
  DWORD Frame = 0;  // alpha for ILS_ALPHA
  COLORREF crEffect = 0;
};

// FALSE for a bad list, index or DC.
BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC dc, int x, int y, UINT style);
BOOL ImageList_DrawIndirect(IMAGELISTDRAWPARAMS* params);
BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy);

// Tells a registered user of an image list that the list changed.
class TChangeLink : public TObject {
 public:
  ~TChangeLink() override;
  TCustomImageList* Sender = nullptr;
  TNotifyEvent OnChange;
  void Change();
};

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
enum TImageType { itImage, itMask };
enum TColorDepth { cdDeviceDependent, cd4Bit, cd8Bit, cd16Bit, cd24Bit, cd32Bit };

class TCustomImageList : public TComponent {
 public:
  explicit TCustomImageList(TComponent* AOwner = nullptr);
  // CreateSize: an empty list of width x height images.
  TCustomImageList(TComponent* AOwner, Integer width, Integer height);
  ~TCustomImageList() override;

  void Assign(TPersistent* Source) override;

  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }
  // A new size empties the list.
  void SetWidth(Integer value);
  void SetHeight(Integer value);
  void SetSize(Integer w, Integer h);
  Integer Count() const;
  TColorDepth ColorDepth() const { return FColorDepth; }
  void SetColorDepth(TColorDepth value) { FColorDepth = value; }
  TColor BkColor() const { return FBkColor; }
  void SetBkColor(TColor value) { FBkColor = value; }
  TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
  void SetDrawingStyle(TDrawingStyle value) { FDrawingStyle = value; }
  HIMAGELIST Handle() const;

  // Adds the picture (a strip wider than Width adds one image per Width);
  // mask: white pixels transparent. Answers the first new index, -1 for an
  // empty picture.
  Integer Add(TBitmap* image, TBitmap* mask);
  // Pixels of maskColor become transparent (clDefault: the bottom-left pixel's colour).
  Integer AddMasked(TBitmap* image, TColor maskColor);
  Integer AddIcon(TIcon* icon);
  // Raises EInvalidOperation "Invalid ImageList Index" for a bad index.
  void Delete(Integer index);
  void Clear();
  // Draws image index at (x, y); disabled images are drawn greyed (32-bit
  // lists) or embossed. A bad index draws nothing.
  void Draw(TCanvas* canvas, Integer x, Integer y, Integer index, bool enabled = true);
  void Draw(TCanvas* canvas, Integer x, Integer y, Integer index, TDrawingStyle style, TImageType type,
            bool enabled = true);
  // The image on an opaque background of BkColor (clNone: black) in image;
  // false for a bad index or nullptr.
  bool GetBitmap(Integer index, TBitmap* image);

  void RegisterChanges(TChangeLink* link);
  void UnRegisterChanges(TChangeLink* link);
  TNotifyEvent OnChange;

 protected:
  virtual void Change();

 private:
  std::unique_ptr<HIMAGELIST__> FData;
  Integer FWidth = 16, FHeight = 16;
  TColorDepth FColorDepth = cdDeviceDependent;
  TColor FBkColor = clNone;
  TDrawingStyle FDrawingStyle = dsNormal;
  std::vector<TChangeLink*> FLinks;
};

class TImageList : public TCustomImageList {
 public:
  using TCustomImageList::TCustomImageList;
};
