#include "platform/win/ComStream.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

namespace {

class TMemStream final : public IStream {
 public:
  TMemStream(const Byte* data, ULONG size) {
    if (data && size) FData.assign(data, data + size);
  }
  ULONG AddRef() override { return ++FRefs; }
  ULONG Release() override {
    ULONG n = --FRefs;
    if (n == 0) delete this;  // COM ownership: the last reference frees the stream
    return n;
  }
  HRESULT Read(void* buffer, ULONG cb, ULONG* read) override {
    if (!buffer && cb) return E_INVALIDARG;
    UInt64 avail = FPos < FData.size() ? FData.size() - FPos : 0;
    ULONG n = ULONG(std::min<UInt64>(cb, avail));
    if (n) std::memcpy(buffer, FData.data() + FPos, n);
    FPos += n;
    if (read) *read = n;
    return n < cb ? S_FALSE : S_OK;
  }
  HRESULT Write(const void* buffer, ULONG cb, ULONG* written) override {
    if (!buffer && cb) return E_INVALIDARG;
    if (FPos + cb > FData.size()) FData.resize(FPos + cb);
    if (cb) std::memcpy(FData.data() + FPos, buffer, cb);
    FPos += cb;
    if (written) *written = cb;
    return S_OK;
  }
  HRESULT Seek(Int64 move, DWORD origin, UInt64* newPosition) override {
    Int64 base = origin == STREAM_SEEK_SET ? 0 : origin == STREAM_SEEK_CUR ? Int64(FPos) : Int64(FData.size());
    if (origin > STREAM_SEEK_END) return STG_E_INVALIDFUNCTION;
    Int64 p = base + move;
    if (p < 0) return STG_E_INVALIDFUNCTION;
    FPos = UInt64(p);
    if (newPosition) *newPosition = FPos;
    return S_OK;
  }
  HRESULT SetSize(UInt64 size) override {
    if (size > (UInt64(1) << 31)) return E_OUTOFMEMORY;
    FData.resize(size);
    return S_OK;
  }
  HRESULT GetSize(UInt64* size) override {
    if (!size) return E_INVALIDARG;
    *size = FData.size();
    return S_OK;
  }

 private:
  ~TMemStream() override = default;
  std::atomic<ULONG> FRefs{1};
  std::vector<Byte> FData;
  UInt64 FPos = 0;
};

}  // namespace

IStream* SHCreateMemStream(const Byte* data, ULONG size) { return new TMemStream(data, size); }
