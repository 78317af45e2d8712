#include "platform/rtl/Streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace {

String SystemMessage(int error) {
  char buffer[256] = {};
  // GNU strerror_r may answer a static text instead of filling the buffer.
  const char* text = strerror_r(error, buffer, sizeof buffer);
  return Utf8ToString(text != nullptr ? text : buffer);
}

std::string PathOf(const String& fileName) { return StringToUtf8(fileName); }

// Bytes moved per step of CopyFrom.
constexpr Integer kCopyChunk = 64 * 1024;

}  // namespace

// ---- TStream ----

Integer TStream::Read(TBytes& Buffer, Integer Offset, Integer Count) {
  if (Offset < 0 || Count <= 0 || static_cast<std::size_t>(Offset) > Buffer.size() ||
      static_cast<std::size_t>(Count) > Buffer.size() - static_cast<std::size_t>(Offset))
    return 0;
  return Read(Buffer.data() + Offset, Count);
}

Integer TStream::Write(const TBytes& Buffer, Integer Offset, Integer Count) {
  if (Offset < 0 || Count <= 0 || static_cast<std::size_t>(Offset) > Buffer.size() ||
      static_cast<std::size_t>(Count) > Buffer.size() - static_cast<std::size_t>(Offset))
    return 0;
  return Write(Buffer.data() + Offset, Count);
}

void TStream::ReadBuffer(void* Buffer, Integer Count) {
  if (Count <= 0) return;
  auto* p = static_cast<std::uint8_t*>(Buffer);
  Integer done = 0;
  // A stream may hand out fewer bytes than asked without being at its end.
  while (done < Count) {
    const Integer n = Read(p + done, Count - done);
    if (n <= 0) throw EReadError(u"Stream read error");
    done += n;
  }
}

void TStream::WriteBuffer(const void* Buffer, Integer Count) {
  if (Count <= 0) return;
  const auto* p = static_cast<const std::uint8_t*>(Buffer);
  Integer done = 0;
  while (done < Count) {
    const Integer n = Write(p + done, Count - done);
    if (n <= 0) throw EWriteError(u"Stream write error");
    done += n;
  }
}

void TStream::ReadBuffer(TBytes& Buffer, Integer Count) {
  Buffer.resize(static_cast<std::size_t>(std::max<Integer>(Count, 0)));
  ReadBuffer(Buffer.data(), Count);
}

void TStream::WriteBuffer(const TBytes& Buffer) {
  if (Buffer.size() > static_cast<std::size_t>(std::numeric_limits<Integer>::max()))
    throw EWriteError(u"Stream write error");
  WriteBuffer(Buffer.data(), static_cast<Integer>(Buffer.size()));
}

Int64 TStream::Position() { return Seek(0, soCurrent); }

void TStream::SetPosition(Int64 Pos) {
  if (Pos >= 0) Seek(Pos, soBeginning);
}

Int64 TStream::Size() {
  const Int64 pos = Seek(0, soCurrent);
  const Int64 size = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return size;
}

void TStream::SetSize(Int64) {}

Int64 TStream::CopyFrom(TStream* Source, Int64 Count) {
  if (Source == nullptr || Count < 0) return 0;
  if (Count == 0) {
    Source->SetPosition(0);
    Count = Source->Size();
    if (Count <= 0) return 0;  // empty, or a source that cannot tell its size
  }
  const Int64 total = Count;
  TBytes buffer(static_cast<std::size_t>(std::min<Int64>(Count, kCopyChunk)));
  while (Count > 0) {
    const auto n = static_cast<Integer>(std::min<Int64>(Count, kCopyChunk));
    Source->ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    Count -= n;
  }
  return total;
}

// ---- THandleStream ----

Integer THandleStream::Read(void* Buffer, Integer Count) {
  if (Count <= 0) return 0;
  ssize_t n;
  do n = ::read(FHandle, Buffer, static_cast<std::size_t>(Count));
  while (n < 0 && errno == EINTR);
  return n < 0 ? 0 : static_cast<Integer>(n);
}

Integer THandleStream::Write(const void* Buffer, Integer Count) {
  if (Count <= 0) return 0;
  ssize_t n;
  do n = ::write(FHandle, Buffer, static_cast<std::size_t>(Count));
  while (n < 0 && errno == EINTR);
  return n < 0 ? 0 : static_cast<Integer>(n);
}

Int64 THandleStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  int whence;
  switch (Origin) {
    case soBeginning: whence = SEEK_SET; break;
    case soCurrent: whence = SEEK_CUR; break;
    case soEnd: whence = SEEK_END; break;
    default: return -1;
  }
  const off_t r = ::lseek(FHandle, static_cast<off_t>(Offset), whence);
  return r < 0 ? -1 : static_cast<Int64>(r);
}

void THandleStream::SetSize(Int64 NewSize) {
  if (NewSize < 0 || ::ftruncate(FHandle, static_cast<off_t>(NewSize)) != 0) {
    const int error = NewSize < 0 ? EINVAL : errno;
    throw EStreamError(SystemMessage(error));
  }
  Seek(NewSize, soBeginning);
}

// ---- TFileStream ----

namespace {

int OpenFile(const String& fileName, Word mode) {
  int flags = O_CLOEXEC;
  if ((mode & 0xFF00) == fmCreate) {
    flags |= O_CREAT | O_TRUNC | O_RDWR;
  } else {
    switch (mode & 0x0003) {
      case fmOpenWrite: flags |= O_WRONLY; break;
      case fmOpenReadWrite: flags |= O_RDWR; break;
      default: flags |= O_RDONLY; break;
    }
  }
  int fd;
  do fd = ::open(PathOf(fileName).c_str(), flags, 0666);
  while (fd < 0 && errno == EINTR);
  if (fd >= 0) {
    // open() succeeds on a directory for reading; a stream over one is useless.
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
      ::close(fd);
      errno = EISDIR;
      return -1;
    }
  }
  return fd;
}

}  // namespace

TFileStream::TFileStream(const String& AFileName, Word Mode)
    : THandleStream(OpenFile(AFileName, Mode)), FFileName(AFileName) {
  if (FHandle < 0) {
    const String reason = SystemMessage(errno);
    if ((Mode & 0xFF00) == fmCreate)
      throw EFCreateError(u"Cannot create file \"" + AFileName + u"\". " + reason);
    throw EFOpenError(u"Cannot open file \"" + AFileName + u"\". " + reason);
  }
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

// ---- TCustomMemoryStream ----

Integer TCustomMemoryStream::Read(void* Buffer, Integer Count) {
  if (Count <= 0 || FPosition >= FSize) return 0;
  const auto n = static_cast<Integer>(std::min<Int64>(Count, FSize - FPosition));
  std::memcpy(Buffer, FMemory + FPosition, static_cast<std::size_t>(n));
  FPosition += n;
  return n;
}

Int64 TCustomMemoryStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  Int64 base;
  switch (Origin) {
    case soBeginning: base = 0; break;
    case soCurrent: base = FPosition; break;
    case soEnd: base = FSize; break;
    default: return -1;
  }
  // Refuse targets before the start and sums that would overflow.
  if ((Offset > 0 && base > std::numeric_limits<Int64>::max() - Offset) || base + Offset < 0) return -1;
  FPosition = base + Offset;
  return FPosition;
}

void TCustomMemoryStream::SaveToStream(TStream* Stream) {
  if (Stream == nullptr) return;
  Int64 done = 0;
  while (done < FSize) {
    const auto n = static_cast<Integer>(std::min<Int64>(FSize - done, std::numeric_limits<Integer>::max()));
    Stream->WriteBuffer(FMemory + done, n);
    done += n;
  }
}

void TCustomMemoryStream::SaveToFile(const String& FileName) {
  TFileStream file(FileName, fmCreate);
  SaveToStream(&file);
}

void TCustomMemoryStream::SetPointer(std::uint8_t* Ptr, Int64 Size) {
  FMemory = Ptr;
  FSize = Size;
}

// ---- TMemoryStream ----

TMemoryStream::TMemoryStream(TBytes Initial) : FData(std::move(Initial)) { Sync(); }

void TMemoryStream::Sync() {
  SetPointer(FData.empty() ? nullptr : FData.data(), static_cast<Int64>(FData.size()));
}

Integer TMemoryStream::Write(const void* Buffer, Integer Count) {
  if (Count <= 0) return 0;
  if (FPosition > static_cast<Int64>(FData.max_size()) - Count) return 0;
  const Int64 end = FPosition + Count;
  if (end > static_cast<Int64>(FData.size())) {
    FData.resize(static_cast<std::size_t>(end));  // a gap after a seek past the end is zero-filled
    Sync();
  }
  std::memcpy(FData.data() + FPosition, Buffer, static_cast<std::size_t>(Count));
  FPosition = end;
  return Count;
}

void TMemoryStream::SetSize(Int64 NewSize) {
  if (NewSize < 0) NewSize = 0;
  if (static_cast<std::uint64_t>(NewSize) > FData.max_size()) throw EOutOfMemory(u"Out of memory");
  FData.resize(static_cast<std::size_t>(NewSize));
  Sync();
  if (FPosition > NewSize) FPosition = NewSize;
}

void TMemoryStream::Clear() {
  FData.clear();
  FData.shrink_to_fit();
  Sync();
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
  if (Stream == nullptr) return;
  Stream->SetPosition(0);
  const Int64 size = Stream->Size();
  SetSize(size);
  Int64 done = 0;
  while (done < size) {
    const auto n = static_cast<Integer>(std::min<Int64>(size - done, std::numeric_limits<Integer>::max()));
    Stream->ReadBuffer(FData.data() + done, n);
    done += n;
  }
  FPosition = 0;
}

void TMemoryStream::LoadFromFile(const String& FileName) {
  TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&file);
}

// ---- TStringStream ----

namespace {
TEncoding* EncodingOr(TEncoding* encoding) { return encoding != nullptr ? encoding : TEncoding::UTF8NoBOM(); }
}  // namespace

TStringStream::TStringStream(StringView AString, TEncoding* AEncoding)
    : TBytesStream(EncodingOr(AEncoding)->GetBytes(AString)), FEncoding(EncodingOr(AEncoding)) {}

String TStringStream::DataString() const { return FEncoding->GetString(FData); }

String TStringStream::ReadString(Integer Count) {
  const Int64 size = static_cast<Int64>(FData.size());
  if (Count <= 0 || FPosition >= size) return {};
  const auto n = static_cast<std::size_t>(std::min<Int64>(Count, size - FPosition));
  String result = FEncoding->GetString(FData.data() + FPosition, n);
  FPosition += static_cast<Int64>(n);
  return result;
}

void TStringStream::WriteString(StringView AString) { WriteBuffer(FEncoding->GetBytes(AString)); }
