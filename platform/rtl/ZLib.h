#pragma once
// zlib streams (RFC 1950: header, deflate data, Adler-32) in the shape of the
// class library's ZLib unit: a write-only stream that compresses into another
// stream, and a read-only stream that inflates from one. Memory stays bounded
// by the blocks in flight, whatever the data claims.
#include <memory>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"

// Levels as zlib numbers them: 0 (stored blocks), 1, the library default, 9.
// Scoped: the colour constants clNone and clDefault share the names.
enum class TCompressionLevel { clNone, clFastest, clDefault, clMax };

class EZLibError : public EStreamError { public: using EStreamError::EStreamError; };
class EZCompressionError : public EZLibError { public: using EZLibError::EZLibError; };
class EZDecompressionError : public EZLibError { public: using EZLibError::EZLibError; };

struct TZStreamState;

// Compresses what is written into Dest (not owned), which must outlive it.
// The stream is complete after Finish or the destructor.
class TCompressionStream : public TStream {
 public:
  TCompressionStream(TCompressionLevel CompressionLevel, TStream* Dest);
  // Finishes the stream; a failure there is swallowed (call Finish to see it).
  ~TCompressionStream() override;
  // Flushes the rest and the trailer into Dest; later writes raise
  // EZCompressionError. EWriteError when Dest refuses bytes.
  void Finish();
  // Raises EZCompressionError "Invalid stream operation".
  Integer Read(void* Buffer, Integer Count) override;
  Integer Write(const void* Buffer, Integer Count) override;
  // Only the current position (bytes taken in) can be asked for; anything
  // else raises EZCompressionError "Invalid stream operation".
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  using TStream::Read;
  using TStream::Write;

 private:
  void Drain(int Flush);
  TStream* FDest;
  std::unique_ptr<TZStreamState> FState;
  bool FFinished = false;
};

// Inflates from Source's position (Source not owned, must outlive it).
class TDecompressionStream : public TStream {
 public:
  explicit TDecompressionStream(TStream* Source);
  ~TDecompressionStream() override;
  // Up to Count inflated bytes; fewer only at the end of the zlib stream.
  // Damaged data, or a Source that ends before the zlib stream does, raise
  // EZDecompressionError.
  Integer Read(void* Buffer, Integer Count) override;
  // Raises EZDecompressionError "Invalid stream operation".
  Integer Write(const void* Buffer, Integer Count) override;
  // The current position, or a forward move (read and dropped); anything
  // else raises EZDecompressionError "Invalid stream operation".
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  using TStream::Read;
  using TStream::Write;
  // True once the zlib stream's trailer has been read and checked.
  bool AtEnd() const { return FEnded; }

 private:
  TStream* FSource;
  std::unique_ptr<TZStreamState> FState;
  bool FEnded = false;
};
