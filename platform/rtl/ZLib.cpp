#include "platform/rtl/ZLib.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr uInt kBlock = 64 * 1024;
constexpr const char16_t* SInvalidStreamOp = u"Invalid stream operation";

int ZLevel(TCompressionLevel Level) {
  switch (Level) {
    case TCompressionLevel::clNone: return Z_NO_COMPRESSION;
    case TCompressionLevel::clFastest: return Z_BEST_SPEED;
    case TCompressionLevel::clMax: return Z_BEST_COMPRESSION;
    default: return Z_DEFAULT_COMPRESSION;
  }
}

String ZText(const z_stream& z, const char* fallback) {
  const char* m = z.msg != nullptr ? z.msg : fallback;
  String r;
  for (const char* p = m; *p != '\0'; ++p) r.push_back(static_cast<unsigned char>(*p));
  return r;
}

}  // namespace

struct TZStreamState {
  explicit TZStreamState(std::size_t BufferSize) : Buffer(BufferSize) {}
  z_stream Z{};
  std::vector<Bytef> Buffer;
  Int64 Total = 0;  // bytes taken in (compression) or given out (decompression)
};

// --- TCompressionStream ---

TCompressionStream::TCompressionStream(TCompressionLevel CompressionLevel, TStream* Dest)
    : FDest(Dest), FState(std::make_unique<TZStreamState>(kBlock)) {
  if (deflateInit(&FState->Z, ZLevel(CompressionLevel)) != Z_OK)
    throw EZCompressionError(u"Cannot start the compressor");
}

TCompressionStream::~TCompressionStream() {
  try {
    Finish();
  } catch (...) {
    // A destructor reports nothing; Finish shows failures to callers that ask.
  }
  deflateEnd(&FState->Z);
}

void TCompressionStream::Drain(int Flush) {
  z_stream& z = FState->Z;
  for (;;) {
    z.next_out = FState->Buffer.data();
    z.avail_out = static_cast<uInt>(FState->Buffer.size());
    const int rc = deflate(&z, Flush);
    if (rc == Z_STREAM_ERROR) throw EZCompressionError(ZText(z, "compression failed"));
    const uInt produced = static_cast<uInt>(FState->Buffer.size()) - z.avail_out;
    if (produced > 0 && FDest != nullptr) FDest->WriteBuffer(FState->Buffer.data(), static_cast<Integer>(produced));
    if (Flush == Z_FINISH ? rc == Z_STREAM_END : (z.avail_in == 0 && z.avail_out != 0)) return;
  }
}

void TCompressionStream::Finish() {
  if (FFinished) return;
  FFinished = true;
  FState->Z.next_in = nullptr;
  FState->Z.avail_in = 0;
  Drain(Z_FINISH);
}

Integer TCompressionStream::Read(void*, Integer) { throw EZCompressionError(SInvalidStreamOp); }

Integer TCompressionStream::Write(const void* Buffer, Integer Count) {
  if (Count <= 0) return 0;
  if (FFinished) throw EZCompressionError(SInvalidStreamOp);
  FState->Z.next_in = static_cast<Bytef*>(const_cast<void*>(Buffer));
  FState->Z.avail_in = static_cast<uInt>(Count);
  Drain(Z_NO_FLUSH);
  FState->Total += Count;
  return Count;
}

Int64 TCompressionStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  if (Offset == 0 && Origin == soCurrent) return FState->Total;
  throw EZCompressionError(SInvalidStreamOp);
}

// --- TDecompressionStream ---

namespace {
// Small sources get a buffer of their size: start-up inflates a few
// kilobytes and should not fetch and return large blocks of memory for it.
std::size_t InputBufferSize(TStream* Source) {
  if (Source == nullptr) return 1;
  const Int64 left = Source->Size() - Source->Position();
  return static_cast<std::size_t>(std::clamp<Int64>(left, 1024, kBlock));
}
}  // namespace

TDecompressionStream::TDecompressionStream(TStream* Source)
    : FSource(Source), FState(std::make_unique<TZStreamState>(InputBufferSize(Source))) {
  if (inflateInit(&FState->Z) != Z_OK) throw EZDecompressionError(u"Cannot start the decompressor");
}

TDecompressionStream::~TDecompressionStream() { inflateEnd(&FState->Z); }

Integer TDecompressionStream::Read(void* Buffer, Integer Count) {
  if (Count <= 0 || FEnded) return 0;
  z_stream& z = FState->Z;
  z.next_out = static_cast<Bytef*>(Buffer);
  z.avail_out = static_cast<uInt>(Count);
  while (z.avail_out > 0) {
    if (z.avail_in == 0) {
      const Integer got =
          FSource != nullptr ? FSource->Read(FState->Buffer.data(), static_cast<Integer>(FState->Buffer.size())) : 0;
      if (got <= 0) throw EZDecompressionError(u"Compressed data ends before its stream does");
      z.next_in = FState->Buffer.data();
      z.avail_in = static_cast<uInt>(got);
    }
    const int rc = inflate(&z, Z_NO_FLUSH);
    if (rc == Z_STREAM_END) {
      FEnded = true;
      break;
    }
    if (rc == Z_NEED_DICT || rc == Z_DATA_ERROR || rc == Z_STREAM_ERROR || rc == Z_MEM_ERROR)
      throw EZDecompressionError(ZText(z, "data error"));
  }
  const Integer done = Count - static_cast<Integer>(z.avail_out);
  FState->Total += done;
  return done;
}

Integer TDecompressionStream::Write(const void*, Integer) { throw EZDecompressionError(SInvalidStreamOp); }

Int64 TDecompressionStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  if (Origin == soCurrent && Offset >= 0) {
    std::vector<char> sink(Offset > 0 ? kBlock : 0);
    while (Offset > 0) {
      const Integer want = static_cast<Integer>(Offset < kBlock ? Offset : kBlock);
      const Integer got = Read(sink.data(), want);
      if (got <= 0) break;
      Offset -= got;
    }
    return FState->Total;
  }
  throw EZDecompressionError(SInvalidStreamOp);
}
