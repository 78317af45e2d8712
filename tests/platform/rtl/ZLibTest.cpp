// zlib streams: what the compression stream writes inflates back at every
// level, and damaged or cut streams are refused.
#include <gtest/gtest.h>

#include <string>

#include "platform/rtl/ZLib.h"

namespace {

std::string Compress(const std::string& bytes, TCompressionLevel level) {
  TBytesStream out;
  {
    TCompressionStream z(level, &out);
    if (!bytes.empty()) z.WriteBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
    EXPECT_EQ(z.Seek(0, soCurrent), static_cast<Int64>(bytes.size()));
  }  // the destructor finishes the stream
  return std::string(out.Bytes().begin(), out.Bytes().end());
}

std::string Inflate(const std::string& packed, std::size_t want) {
  TBytesStream in(TBytes(packed.begin(), packed.end()));
  TDecompressionStream z(&in);
  std::string out(want, '\0');
  out.resize(static_cast<std::size_t>(z.Read(out.data(), static_cast<Integer>(want))));
  return out;
}

}  // namespace

TEST(ZLib, EveryLevelRoundTrips) {
  std::string bytes;
  for (int i = 0; i < 200000; ++i) bytes.push_back(static_cast<char>((i * 7) ^ (i >> 5)));
  for (TCompressionLevel level : {TCompressionLevel::clNone, TCompressionLevel::clFastest,
                                  TCompressionLevel::clDefault, TCompressionLevel::clMax}) {
    SCOPED_TRACE(int(level));
    const std::string packed = Compress(bytes, level);
    EXPECT_EQ(static_cast<unsigned char>(packed[0]), 0x78);  // zlib header, 32 KiB window
    if (level == TCompressionLevel::clNone) {
      EXPECT_GT(packed.size(), bytes.size());
    }
    EXPECT_EQ(Inflate(packed, bytes.size() + 10), bytes);  // fewer bytes only at the end
  }
  EXPECT_EQ(Inflate(Compress("", TCompressionLevel::clDefault), 10), "");
}

TEST(ZLib, DamagedAndCutStreamsAreRefused) {
  const std::string packed = Compress(std::string(5000, 'a') + "tail", TCompressionLevel::clMax);
  EXPECT_THROW(Inflate(packed.substr(0, packed.size() / 2), 6000), EZDecompressionError);
  std::string flipped = packed;
  flipped[flipped.size() - 2] ^= 0x55;  // the Adler-32 check
  EXPECT_THROW(Inflate(flipped, 6000), EZDecompressionError);
  EXPECT_THROW(Inflate("not zlib at all", 10), EZDecompressionError);

  TBytesStream out;
  TCompressionStream z(TCompressionLevel::clDefault, &out);
  char b = 0;
  EXPECT_THROW(z.Read(&b, 1), EZCompressionError);
  EXPECT_THROW(z.Seek(0, soBeginning), EZCompressionError);
  z.Finish();
  z.Finish();
  EXPECT_THROW(z.WriteBuffer("x", 1), EZCompressionError);
}
