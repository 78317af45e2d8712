#pragma once
// The class library's streams: a byte sequence with a position. Sizes and
// positions are Int64; one transfer is at most an Integer count of bytes.
// Seeking past the end is allowed: reading there gives 0 bytes, writing there
// fills the gap with zero bytes.
#include <cstdint>
#include <type_traits>

#include "platform/rtl/Encoding.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/Types.h"

enum TSeekOrigin { soBeginning = 0, soCurrent = 1, soEnd = 2 };

// TFileStream modes: one access mode, or'ed with one share mode; fmCreate
// creates or truncates and opens for reading and writing.
constexpr Word fmCreate = 0xFF00;
constexpr Word fmOpenRead = 0x0000;
constexpr Word fmOpenWrite = 0x0001;
constexpr Word fmOpenReadWrite = 0x0002;
constexpr Word fmShareCompat = 0x0000;
constexpr Word fmShareExclusive = 0x0010;
constexpr Word fmShareDenyWrite = 0x0020;
constexpr Word fmShareDenyRead = 0x0030;
constexpr Word fmShareDenyNone = 0x0040;

class TStream : public TObject {
 public:
  // Copies up to Count bytes into Buffer from the position; answers the number
  // read (0 at or past the end, 0 for Count <= 0).
  virtual Integer Read(void* Buffer, Integer Count) = 0;
  // Writes Count bytes at the position; answers the number written (0 for Count <= 0).
  virtual Integer Write(const void* Buffer, Integer Count) = 0;
  // Moves the position; answers the new position, or -1 (position unchanged)
  // when the target would lie before the start or the origin is unknown.
  virtual Int64 Seek(Int64 Offset, TSeekOrigin Origin) = 0;

  // Reads into Buffer[Offset..]; answers 0 when the range lies outside Buffer.
  Integer Read(TBytes& Buffer, Integer Offset, Integer Count);
  Integer Write(const TBytes& Buffer, Integer Offset, Integer Count);

  // Exactly Count bytes, or EReadError "Stream read error" / EWriteError
  // "Stream write error" (the bytes that did move stay moved).
  void ReadBuffer(void* Buffer, Integer Count);
  void WriteBuffer(const void* Buffer, Integer Count);
  void ReadBuffer(TBytes& Buffer, Integer Count);   // resizes Buffer to Count
  void WriteBuffer(const TBytes& Buffer);

  // A plain value in machine byte order (little endian), through ReadBuffer/WriteBuffer.
  template <class T>
  void ReadData(T& Value) {
    static_assert(std::is_trivially_copyable_v<T>);
    ReadBuffer(&Value, static_cast<Integer>(sizeof(T)));
  }
  template <class T>
  void WriteData(const T& Value) {
    static_assert(std::is_trivially_copyable_v<T>);
    WriteBuffer(&Value, static_cast<Integer>(sizeof(T)));
  }

  Int64 Position();
  // A negative position is refused (the position stays).
  void SetPosition(Int64 Pos);
  virtual Int64 Size();
  // Changes the length when the stream can; the base class ignores it.
  virtual void SetSize(Int64 NewSize);

  // Copies Count bytes from Source's position into this stream; Count 0
  // copies the whole of Source from its start. Answers the bytes copied
  // (0 for a negative Count); a Source that runs dry raises EReadError.
  Int64 CopyFrom(TStream* Source, Int64 Count);
};

// A stream over an open file descriptor, which it does not close.
class THandleStream : public TStream {
 public:
  explicit THandleStream(int AHandle) : FHandle(AHandle) {}
  int Handle() const { return FHandle; }

  // System errors answer 0 (Read, Write) or -1 (Seek).
  Integer Read(void* Buffer, Integer Count) override;
  Integer Write(const void* Buffer, Integer Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  using TStream::Read;
  using TStream::Write;
  // Truncates or extends the file and moves the position to NewSize; raises
  // EStreamError with the system message on failure.
  void SetSize(Int64 NewSize) override;

 protected:
  int FHandle;
};

// A named file. Failures raise EFCreateError "Cannot create file "%s". %s" or
// EFOpenError "Cannot open file "%s". %s" with the system's message. Share
// flags are accepted and restrict nothing: Linux has no mandatory sharing.
class TFileStream : public THandleStream {
 public:
  TFileStream(const String& AFileName, Word Mode);
  ~TFileStream() override;
  const String& FileName() const { return FFileName; }

 private:
  String FFileName;
};

// A stream over one block of memory; reading and seeking only.
class TCustomMemoryStream : public TStream {
 public:
  // The bytes; null when empty. Valid until the next size change.
  std::uint8_t* Memory() const { return FMemory; }

  Integer Read(void* Buffer, Integer Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  using TStream::Read;
  using TStream::Write;
  Int64 Size() override { return FSize; }

  // The whole content, whatever the position.
  void SaveToStream(TStream* Stream);
  // Creates or replaces the file; file errors as TFileStream.
  void SaveToFile(const String& FileName);

 protected:
  void SetPointer(std::uint8_t* Ptr, Int64 Size);
  Int64 FPosition = 0;

 private:
  std::uint8_t* FMemory = nullptr;
  Int64 FSize = 0;
};

// A growable in-memory stream.
class TMemoryStream : public TCustomMemoryStream {
 public:
  TMemoryStream() = default;

  Integer Write(const void* Buffer, Integer Count) override;
  using TCustomMemoryStream::Write;
  // New bytes are zero; the position is kept, or moved to the new end when beyond it.
  void SetSize(Int64 NewSize) override;
  // Empties the stream; the position returns to 0.
  void Clear();
  // Replaces the content with the whole of Stream (from its start); position 0.
  void LoadFromStream(TStream* Stream);
  // Replaces the content with the file's bytes; position 0. File errors as TFileStream.
  void LoadFromFile(const String& FileName);

 protected:
  explicit TMemoryStream(TBytes Initial);
  TBytes FData;  // its size is the stream's size

 private:
  void Sync();
};

// A memory stream whose content is a TBytes.
class TBytesStream : public TMemoryStream {
 public:
  explicit TBytesStream(TBytes ABytes = {}) : TMemoryStream(std::move(ABytes)) {}
  // The content; its length equals Size.
  const TBytes& Bytes() const { return FData; }
};

// A memory stream of encoded text: UTF-8 without a byte-order mark unless
// another encoding is given.
class TStringStream : public TBytesStream {
 public:
  explicit TStringStream(StringView AString = {}, TEncoding* AEncoding = nullptr);
  TEncoding* Encoding() const { return FEncoding; }
  // The whole content decoded.
  String DataString() const;
  // Decodes up to Count bytes from the position and moves past them.
  String ReadString(Integer Count);
  // Encodes AString and writes it at the position.
  void WriteString(StringView AString);

 private:
  TEncoding* FEncoding;
};
