// Fuzz target: the picture classes' loading. Any bytes go through the choice
// of format by content, the stored form Data (raw or length-prefixed SVG),
// the header readers and a decode for the size; none may crash, hang or
// allocate beyond the picture budget. Whatever is stored reads back the same.
// The HTML picture's frame scans and a fill read from clipboard data get the same bytes.
#include <cstdlib>

#include "foundation/gdiplus/ImageSizeReaders.h"
#include "foundation/pictures/ZovIVIDPicture.h"
#include "foundation/gdiplus/GDIPFill.h"
#include "foundation/pictures/GDIPPicture.h"
#include "foundation/pictures/HTMLPicture.h"
#include "platform/rtl/Streams.h"
#include "platform/testing/GuiTestApp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool started = [] {
    EnsureGuiApplication();
    gdiplus::InitializeGdiplusUnit();
    return true;
  }();
  (void)started;
  const TBytes input(data, data + size);
  using Reader = void (*)(TStream*, Word&, Word&);
  for (Reader reader : {Reader(gdiplus::GetJPEGSize), Reader(gdiplus::GetPNGSize), Reader(gdiplus::GetGIFSize),
                        Reader(gdiplus::GetBMPSize), Reader(gdiplus::GetTIFFSize)}) {
    TBytesStream s(input);
    Word w = 0, h = 0;
    reader(&s, w, h);
  }
  try {
    TGDIPPicture picture;
    TBytesStream form(input);
    picture.ReadData(&form);
    picture.GetImageSizes();
    (void)picture.PictureFormat();
    TBytesStream stored;
    picture.WriteData(&stored);
    TGDIPPicture again;
    stored.SetPosition(0);
    again.ReadData(&stored);
    TBytes first, second;
    picture.SaveToBytes(first);
    again.SaveToBytes(second);
    if (first != second) std::abort();  // the stored form lost or changed the content
    gdiplus::TZovIVIDPicture fill;
    fill.LoadFromBytes(input);
    fill.GetImageSizes();
    THTMLPicture html;
    html.LoadFromBytes(input);
    for (Integer i = 0; i <= html.FrameCount() + 1 && i < 64; ++i) (void)html.GetFrameTime(i);
    for (int i = 0; i < 8; ++i) html.Step();
    TBytesStream htmlForm(input);
    html.ReadData(&htmlForm);
  } catch (const Exception&) {
    // Refusals the classes document (EReadError for a length past the data).
  }
  try {
    // The fill as it comes off the clipboard.
    gdiplus::TGDIPFill target;
    gdiplus::TSaver saver;
    saver.SetSaveObject(&target);
    saver.ReadObject(input);
  } catch (const EConvertError&) {
    // Refusals the classes document (EReadError for a length past the data).
  }
  return 0;
}
