#include "platform/vcl/JpegImage.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include "platform/gdi/PictureLimits.h"
#include "platform/vcl/ImageCodec.h"

// After the layer's headers: the library's own TRUE/FALSE must not clash.
#include <jpeglib.h>

namespace {

// libjpeg reports fatal errors through longjmp. Each function that calls
// setjmp keeps only trivially destructible locals, so the jump skips no
// destructor; C++ objects live in the callers.
struct TJpegError {
  jpeg_error_mgr Pub;
  jmp_buf Jump;
};

void ErrorExit(j_common_ptr c) { longjmp(reinterpret_cast<TJpegError*>(c->err)->Jump, 1); }
void EmitMessage(j_common_ptr, int) {}
void OutputMessage(j_common_ptr) {}

void InitError(TJpegError* err) {
  jpeg_std_error(&err->Pub);
  err->Pub.error_exit = ErrorExit;
  err->Pub.emit_message = EmitMessage;
  err->Pub.output_message = OutputMessage;
}

bool ReadHeader(jpeg_decompress_struct* c, TJpegError* err, const uint8_t* data, size_t size) {
  if (setjmp(err->Jump)) return false;
  jpeg_mem_src(c, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
  jpeg_read_header(c, TRUE);
  return true;
}

bool StartDecompress(jpeg_decompress_struct* c, TJpegError* err) {
  if (setjmp(err->Jump)) return false;
  if (c->jpeg_color_space == JCS_CMYK || c->jpeg_color_space == JCS_YCCK) c->out_color_space = JCS_CMYK;
  else if (c->jpeg_color_space == JCS_GRAYSCALE) c->out_color_space = JCS_GRAYSCALE;
  else c->out_color_space = JCS_RGB;
  jpeg_start_decompress(c);
  return true;
}

// Rows into dst (32-bit pixels, bytesPerLine apart).
bool ReadRows(jpeg_decompress_struct* c, TJpegError* err, uint8_t* dst, long bytesPerLine) {
  if (setjmp(err->Jump)) return false;
  const unsigned w = c->output_width;
  const int comps = c->output_components;
  JSAMPARRAY buffer = (*c->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(c), JPOOL_IMAGE, w * unsigned(comps), 1);
  const bool adobe = c->saw_Adobe_marker;
  while (c->output_scanline < c->output_height) {
    unsigned y = c->output_scanline;
    if (jpeg_read_scanlines(c, buffer, 1) != 1) return false;
    auto* out = reinterpret_cast<uint32_t*>(dst + long(y) * bytesPerLine);
    const JSAMPLE* in = buffer[0];
    for (unsigned x = 0; x < w; ++x) {
      unsigned r, g, b;
      if (comps == 1) {
        r = g = b = in[x];
      } else if (comps == 3) {
        r = in[3 * x];
        g = in[3 * x + 1];
        b = in[3 * x + 2];
      } else {
        unsigned cc = in[4 * x], m = in[4 * x + 1], yy = in[4 * x + 2], k = in[4 * x + 3];
        // Adobe writes CMYK inverted.
        if (!adobe) { cc = 255 - cc; m = 255 - m; yy = 255 - yy; k = 255 - k; }
        r = cc * k / 255;
        g = m * k / 255;
        b = yy * k / 255;
      }
      out[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
    }
  }
  jpeg_finish_decompress(c);
  return true;
}

// A few hundred bytes of header must not buy a gigabyte of pixels (a cut-off
// file still decodes to its full size) nor of progressive coefficient buffers.
constexpr Int64 kMaxDecodeBytes = picture_limits::kMaxPixels * 4;

QImage DecodeJpeg(const TBytes& data) {
  if (data.size() < 4 || !picture_limits::DeclaredSizesFit(data.data(), data.size())) return {};
  jpeg_decompress_struct c{};
  TJpegError err{};
  InitError(&err);
  c.err = &err.Pub;
  jpeg_create_decompress(&c);
  c.mem->max_memory_to_use = long(kMaxDecodeBytes);
  QImage image;
  bool ok = ReadHeader(&c, &err, data.data(), data.size()) &&
            picture_limits::PixelsFit(c.image_width, c.image_height) && StartDecompress(&c, &err);
  if (ok) {
    image = QImage(int(c.output_width), int(c.output_height), QImage::Format_RGB32);
    ok = !image.isNull() && ReadRows(&c, &err, image.bits(), long(image.bytesPerLine()));
  }
  jpeg_destroy_decompress(&c);
  return ok ? image : QImage();
}

bool Compress(jpeg_compress_struct* c, TJpegError* err, const QImage* rgb, int quality, bool gray, bool progressive,
              unsigned char** out, unsigned long* size) {
  if (setjmp(err->Jump)) return false;
  jpeg_mem_dest(c, out, size);
  c->image_width = JDIMENSION(rgb->width());
  c->image_height = JDIMENSION(rgb->height());
  c->input_components = 3;
  c->in_color_space = JCS_RGB;
  jpeg_set_defaults(c);
  if (gray) jpeg_set_colorspace(c, JCS_GRAYSCALE);
  jpeg_set_quality(c, quality, TRUE);
  if (progressive) jpeg_simple_progression(c);
  jpeg_start_compress(c, TRUE);
  JSAMPARRAY row = (*c->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(c), JPOOL_IMAGE, c->image_width * 3, 1);
  while (c->next_scanline < c->image_height) {
    const auto* px = reinterpret_cast<const uint32_t*>(rgb->constScanLine(int(c->next_scanline)));
    for (JDIMENSION x = 0; x < c->image_width; ++x) {
      row[0][3 * x] = JSAMPLE(px[x] >> 16);
      row[0][3 * x + 1] = JSAMPLE(px[x] >> 8);
      row[0][3 * x + 2] = JSAMPLE(px[x]);
    }
    jpeg_write_scanlines(c, row, 1);
  }
  jpeg_finish_compress(c);
  return true;
}

bool EncodeJpeg(const QImage& image, int quality, bool gray, bool progressive, TBytes& out) {
  QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  jpeg_compress_struct c{};
  TJpegError err{};
  InitError(&err);
  c.err = &err.Pub;
  jpeg_create_compress(&c);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  bool ok = Compress(&c, &err, &rgb, quality, gray, progressive, &buffer, &size);
  jpeg_destroy_compress(&c);
  if (ok && buffer) out.assign(buffer, buffer + size);
  std::free(buffer);
  return ok;
}

std::unique_ptr<TBitmap> NewBitmap() {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf24bit);
  return b;
}

}  // namespace

TJPEGImage::TJPEGImage() : FImage(NewBitmap()) {}
TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::Assign(TPersistent* Source) {
  if (!Source) {
    FImage = NewBitmap();
    FData.clear();
    Changed();
  } else if (auto* j = dynamic_cast<TJPEGImage*>(Source)) {
    if (j != this) {
      FImage->Assign(j->FImage.get());
      FData = j->FData;
      FQuality = j->FQuality;
      FGrayscale = j->FGrayscale;
      FProgressive = j->FProgressive;
      FPerformance = j->FPerformance;
      Changed();
    }
  } else if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    auto b = NewBitmap();
    if (!g->Empty()) {
      b->SetSize(g->Width(), g->Height());
      b->Canvas()->StretchDraw(Rect(0, 0, g->Width(), g->Height()), g);
    }
    FImage = std::move(b);
    FData.clear();
    Changed();
  } else {
    TGraphic::Assign(Source);
  }
}

void TJPEGImage::AssignTo(TPersistent* Dest) {
  if (auto* b = dynamic_cast<TBitmap*>(Dest)) {
    b->Assign(FImage.get());
    return;
  }
  TGraphic::AssignTo(Dest);
}

void TJPEGImage::Draw(TCanvas* canvas, const TRect& r) { FImage->Draw(canvas, r); }

void TJPEGImage::LoadFromBytes(const TBytes& data) {
  QImage img = DecodeJpeg(data);
  FImage = NewBitmap();
  FData.clear();
  if (img.isNull()) {
    Changed();
    throw EInvalidGraphic(u"JPEG error #53");
  }
  if (FGrayscale) img = img.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB32);
  image_codec::SetBitmapImage(FImage.get(), std::move(img), false);
  FData = data;
  Changed();
}

void TJPEGImage::JPEGNeeded() {
  if (!FData.empty() || FImage->Empty()) return;
  QImage* img = image_codec::BitmapImage(FImage.get());
  if (!img || !EncodeJpeg(*img, FQuality, FGrayscale, FProgressive, FData)) {
    FData.clear();
    throw EInvalidGraphicOperation(u"Cannot compress the JPEG image");
  }
}

void TJPEGImage::SaveToBytes(TBytes& data) {
  if (FImage->Empty()) throw EInvalidGraphicOperation(u"Cannot save an empty JPEG image");
  JPEGNeeded();
  data = FData;
}

void TJPEGImage::SetCompressionQuality(TJPEGQualityRange value) {
  value = std::clamp(value, 1, 100);
  if (value == FQuality) return;
  FQuality = value;
  FData.clear();  // written again at the new quality
}

void TJPEGImage::SetGrayscale(bool value) {
  if (value == FGrayscale) return;
  FGrayscale = value;
  FData.clear();
  Changed();
}
