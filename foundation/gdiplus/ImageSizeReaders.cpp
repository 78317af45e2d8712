#include "foundation/gdiplus/ImageSizeReaders.h"

#include <array>
#include <cstdlib>
#include <memory>

#include "platform/rtl/Streams.h"

namespace gdiplus {

namespace {

bool ReadByte(TStream* s, Byte& b) { return s->Read(&b, 1) == 1; }

template <std::size_t N>
bool ReadBytes(TStream* s, std::array<Byte, N>& out) {
  return s->Read(out.data(), Integer(N)) == Integer(N);
}

Word WordLE(const Byte* p) { return Word(p[0] | (p[1] << 8)); }
Word WordBE(const Byte* p) { return Word((p[0] << 8) | p[1]); }
std::int32_t Int32LE(const Byte* p) {
  return std::int32_t(std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
                      (std::uint32_t(p[3]) << 24));
}

// Moves forward by Count; false when that passes the end of the data.
bool Skip(TStream* s, Int64 Count) {
  const Int64 target = s->Position() + Count;
  if (Count < 0 || target > s->Size()) return false;
  s->SetPosition(target);
  return true;
}

// Runs a reader on a file; a file that cannot be opened has no size.
template <class Reader>
void OnFile(const String& FileName, Word& Width, Word& Height, Reader reader) {
  Width = Height = 0;
  std::unique_ptr<TFileStream> file;
  try {
    file = std::make_unique<TFileStream>(FileName, fmOpenRead | fmShareDenyWrite);
  } catch (const Exception&) {
    return;
  }
  reader(file.get(), Width, Height);
}

}  // namespace

bool ReadWordBE(TStream* Stream, Word& Value) {
  std::array<Byte, 2> b{};
  if (!Stream || !ReadBytes(Stream, b)) return false;
  Value = WordBE(b.data());
  return true;
}

void GetJPEGSize(TStream* Stream, Word& Width, Word& Height) {
  Width = Height = 0;
  std::array<Byte, 2> start{};
  if (!Stream || !ReadBytes(Stream, start) || start[0] != 0xFF || start[1] != 0xD8) return;
  Byte b = 0;
  if (!ReadByte(Stream, b)) return;
  // Every turn consumes at least one byte, so the walk ends with the data.
  while (b == 0xFF) {
    Byte marker = 0;
    if (!ReadByte(Stream, marker)) return;
    if (marker == 0xFF) continue;
    if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2) {
      Word h = 0, w = 0;
      if (!Skip(Stream, 3) || !ReadWordBE(Stream, h) || !ReadWordBE(Stream, w)) return;
      Width = w;
      Height = h;
      return;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
    Word length = 0;
    // A segment length below 2 would step back over its own length field.
    if (!ReadWordBE(Stream, length) || length < 2 || !Skip(Stream, length - 2)) return;
    if (!ReadByte(Stream, b)) return;
  }
}

void GetPNGSize(TStream* Stream, Word& Width, Word& Height) {
  Width = Height = 0;
  std::array<Byte, 24> head{};
  if (!Stream || !ReadBytes(Stream, head)) return;
  static constexpr Byte kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
  for (int i = 0; i < 8; ++i)
    if (head[i] != kSignature[i]) return;
  Width = WordBE(&head[18]);
  Height = WordBE(&head[22]);
}

void GetGIFSize(TStream* Stream, Word& Width, Word& Height) {
  Width = Height = 0;
  std::array<Byte, 13> head{};
  if (!Stream || !ReadBytes(Stream, head) || head[0] != 'G' || head[1] != 'I' || head[2] != 'F') return;
  if (head[10] & 0x80 && !Skip(Stream, 3 * (Int64(1) << ((head[10] & 7) + 1)))) return;
  Byte b = 0;
  while (ReadByte(Stream, b)) {
    if (b != 0x2C) continue;
    std::array<Byte, 10> descriptor{};
    if (!ReadBytes(Stream, descriptor)) return;
    Width = WordLE(&descriptor[4]);
    Height = WordLE(&descriptor[6]);
    return;
  }
}

void GetBMPSize(TStream* Stream, Word& Width, Word& Height) {
  Width = Height = 0;
  std::array<Byte, 26> head{};
  if (!Stream || !ReadBytes(Stream, head) || head[0] != 'B' || head[1] != 'M') return;
  Width = Word(Int32LE(&head[18]) & 0xFFFF);
  Height = Word(Int32LE(&head[22]) & 0xFFFF);
}

void GetTIFFSize(TStream* Stream, Word& Width, Word& Height) {
  Width = Height = 0;
  std::array<Byte, 8> head{};
  if (!Stream || !ReadBytes(Stream, head)) return;
  const Int64 offset = std::uint32_t(Int32LE(&head[4]));
  if (offset > Stream->Size()) return;
  Stream->SetPosition(offset);
  std::array<Byte, 2> countBytes{};
  if (!ReadBytes(Stream, countBytes)) return;
  const Word count = WordLE(countBytes.data());
  bool haveWidth = false, haveHeight = false;
  Int64 w = 0, h = 0;
  for (Word i = 0; i < count && !(haveWidth && haveHeight); ++i) {
    std::array<Byte, 12> entry{};
    if (!ReadBytes(Stream, entry)) return;
    const Word tag = WordLE(entry.data());
    const Int64 value = Int32LE(&entry[8]);
    if (tag == 256) haveWidth = true, w = value;
    if (tag == 257) haveHeight = true, h = value;
  }
  if (!haveWidth || !haveHeight) return;
  Width = Word(std::llabs(w) & 0xFFFF);
  Height = Word(std::llabs(h) & 0xFFFF);
}

void GetJPEGSize(const String& FileName, Word& Width, Word& Height) {
  OnFile(FileName, Width, Height, [](TStream* s, Word& w, Word& h) { GetJPEGSize(s, w, h); });
}
void GetPNGSize(const String& FileName, Word& Width, Word& Height) {
  OnFile(FileName, Width, Height, [](TStream* s, Word& w, Word& h) { GetPNGSize(s, w, h); });
}
void GetGIFSize(const String& FileName, Word& Width, Word& Height) {
  OnFile(FileName, Width, Height, [](TStream* s, Word& w, Word& h) { GetGIFSize(s, w, h); });
}
void GetBMPSize(const String& FileName, Word& Width, Word& Height) {
  OnFile(FileName, Width, Height, [](TStream* s, Word& w, Word& h) { GetBMPSize(s, w, h); });
}
void GetTIFFSize(const String& FileName, Word& Width, Word& Height) {
  OnFile(FileName, Width, Height, [](TStream* s, Word& w, Word& h) { GetTIFFSize(s, w, h); });
}

}  // namespace gdiplus
