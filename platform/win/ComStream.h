#pragma once
// The byte-stream interface that picture code hands to GDI+ (IStream's
// reading, writing and seeking), and a stream over memory.
#include <cstdint>

#include "platform/rtl/Types.h"

using HRESULT = std::int32_t;
using ULONG = std::uint32_t;
constexpr HRESULT S_OK = 0, S_FALSE = 1;
constexpr HRESULT E_FAIL = HRESULT(0x80004005u), E_INVALIDARG = HRESULT(0x80070057u),
                  E_OUTOFMEMORY = HRESULT(0x8007000Eu), STG_E_INVALIDFUNCTION = HRESULT(0x80030001u);
constexpr DWORD STREAM_SEEK_SET = 0, STREAM_SEEK_CUR = 1, STREAM_SEEK_END = 2;

// Reference-counted as COM objects are: the creator holds one reference.
struct IStream {
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;
  // Reads up to cb bytes; *read (when given) receives the count. S_FALSE at the end.
  virtual HRESULT Read(void* buffer, ULONG cb, ULONG* read) = 0;
  virtual HRESULT Write(const void* buffer, ULONG cb, ULONG* written) = 0;
  // Moves to origin + move; STG_E_INVALIDFUNCTION before the start.
  virtual HRESULT Seek(Int64 move, DWORD origin, UInt64* newPosition) = 0;
  virtual HRESULT SetSize(UInt64 size) = 0;
  // Total size in bytes.
  virtual HRESULT GetSize(UInt64* size) = 0;

 protected:
  virtual ~IStream() = default;
};

// A growable stream over a copy of the bytes (none when data is null), at
// position 0, with one reference. Never nullptr.
IStream* SHCreateMemStream(const Byte* data, ULONG size);
