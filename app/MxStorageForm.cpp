// The store's stored form: the class library's binary form of one
// component's properties ("TPF0", class name, object name, properties, end
// markers). Everything read is checked against the bytes that remain before
// it is used or allocated.
#include <cstring>

#include "app/MxStorage.h"
#include "foundation/utils/AdvUtils.h"
#include "platform/rtl/Format.h"

namespace {

enum TValueType : std::uint8_t {
  vaNull = 0, vaList = 1, vaInt8 = 2, vaInt16 = 3, vaInt32 = 4, vaString = 6, vaIdent = 7, vaFalse = 8,
  vaTrue = 9, vaBinary = 10, vaLString = 12, vaNil = 13, vaCollection = 14, vaWString = 18, vaInt64 = 19,
  vaUTF8String = 20
};

// A hostile form could otherwise name items by the million, each added in
// linear time.
constexpr Integer kMaxStoredItems = 1024;

const char* const kLevelNames[] = {"clNone", "clFastest", "clDefault", "clMax"};

[[noreturn]] void Invalid(const String& What) { throw EReadError(u"Invalid store resource: " + What); }

class TFormReader {
 public:
  explicit TFormReader(TStream* Stream) : FStream(Stream) {}

  Int64 Remaining() { return FStream->Size() - FStream->Position(); }

  void Bytes(void* Buffer, Int64 Count) {
    if (Count < 0 || Count > Remaining()) Invalid(u"the data ends early");
    if (Count > 0) FStream->ReadBuffer(Buffer, static_cast<Integer>(Count));
  }
  std::uint8_t Byte() {
    std::uint8_t b = 0;
    Bytes(&b, 1);
    return b;
  }
  std::uint8_t PeekByte() {
    const std::uint8_t b = Byte();
    FStream->Seek(-1, soCurrent);
    return b;
  }
  std::uint32_t U32() {
    std::uint8_t b[4];
    Bytes(b, 4);
    return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24;
  }
  std::string Raw(Int64 Count) {
    if (Count < 0 || Count > Remaining()) Invalid(u"a text runs past the data");
    std::string s(static_cast<std::size_t>(Count), '\0');
    Bytes(s.data(), Count);
    return s;
  }
  String ShortString() { return Utf8ToString(Raw(Byte())); }

  Int64 Integer64() {
    switch (Byte()) {
      case vaInt8: return static_cast<std::int8_t>(Byte());
      case vaInt16: {
        std::uint8_t b[2];
        Bytes(b, 2);
        return static_cast<std::int16_t>(b[0] | b[1] << 8);
      }
      case vaInt32: return static_cast<std::int32_t>(U32());
      case vaInt64: {
        const std::uint64_t lo = U32();
        const std::uint64_t hi = U32();
        return static_cast<Int64>(lo | hi << 32);
      }
      default: Invalid(u"an integer was expected");
    }
  }
  Integer Int() {
    const Int64 v = Integer64();
    if (v < -0x7FFFFFFFLL - 1 || v > 0x7FFFFFFF) Invalid(u"an integer is out of range");
    return static_cast<Integer>(v);
  }
  String Text() {
    switch (Byte()) {
      case vaString: return Utf8ToString(Raw(Byte()));
      case vaLString:
      case vaUTF8String: return Utf8ToString(Raw(U32()));
      case vaWString: {
        const Int64 count = U32();
        const std::string bytes = Raw(count * 2);
        String s(static_cast<std::size_t>(count), u'\0');
        for (Int64 i = 0; i < count; ++i)
          s[i] = static_cast<Char>(std::uint8_t(bytes[i * 2]) | std::uint8_t(bytes[i * 2 + 1]) << 8);
        return s;
      }
      default: Invalid(u"a text was expected");
    }
  }
  String Ident() {
    switch (Byte()) {
      case vaIdent: return ShortString();
      case vaNil: return u"nil";
      case vaNull: return u"Null";
      case vaFalse: return u"False";
      case vaTrue: return u"True";
      default: Invalid(u"a name was expected");
    }
  }
  // Skips a value of a property that is read and ignored.
  void SkipSimple() {
    switch (PeekByte()) {
      case vaInt8: case vaInt16: case vaInt32: case vaInt64: Integer64(); return;
      case vaString: case vaLString: case vaUTF8String: case vaWString: Text(); return;
      case vaIdent: case vaNil: case vaNull: case vaFalse: case vaTrue: Ident(); return;
      default: Invalid(u"a value of an unexpected kind");
    }
  }

 private:
  TStream* FStream;
};

class TFormWriter {
 public:
  explicit TFormWriter(TStream* Stream) : FStream(Stream) {}
  void Byte(std::uint8_t b) { FStream->WriteBuffer(&b, 1); }
  void U32(std::uint32_t v) {
    const std::uint8_t b[4] = {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
    FStream->WriteBuffer(b, 4);
  }
  void ShortString(const std::string& s) {
    Byte(static_cast<std::uint8_t>(s.size()));
    FStream->WriteBuffer(s.data(), static_cast<Integer>(s.size()));
  }
  void Name(const char* name) { ShortString(name); }
  void Int(Integer v) {
    if (v >= -128 && v <= 127) {
      Byte(vaInt8);
      Byte(static_cast<std::uint8_t>(v));
    } else if (v >= -32768 && v <= 32767) {
      Byte(vaInt16);
      Byte(static_cast<std::uint8_t>(v));
      Byte(static_cast<std::uint8_t>(v >> 8));
    } else {
      Byte(vaInt32);
      U32(static_cast<std::uint32_t>(v));
    }
  }
  void Text(const String& s) {
    const std::string u = StringToUtf8(s);
    if (Utf8ToString(u) != s) {
      // UTF-8 cannot carry an unpaired surrogate: such a text goes as UTF-16
      // code units, so that it reads back exactly as it was.
      Byte(vaWString);
      U32(static_cast<std::uint32_t>(s.size()));
      for (const Char c : s) {
        Byte(static_cast<std::uint8_t>(c));
        Byte(static_cast<std::uint8_t>(c >> 8));
      }
      return;
    }
    bool ascii = u.size() < 256;
    for (char c : u) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) {
      Byte(vaString);
      ShortString(u);
    } else {
      Byte(vaUTF8String);
      U32(static_cast<std::uint32_t>(u.size()));
      FStream->WriteBuffer(u.data(), static_cast<Integer>(u.size()));
    }
  }
  void Ident(const char* s) {
    Byte(vaIdent);
    ShortString(s);
  }

 private:
  TStream* FStream;
};

void ReadItem(TFormReader& r, TmxStoredItem& item) {
  for (;;) {
    const String prop = r.ShortString();
    if (prop.empty()) {
      // An empty name is the end marker (a zero length byte).
      return;
    }
    if (prop == u"Name") {
      item.SetName(r.Text());
    } else if (prop == u"FileName") {
      item.SetFileName(r.Text());
    } else if (prop == u"FileSize") {
      item.SetFileSize(r.Int());
    } else if (prop == u"Tag") {
      item.SetTag(r.Int());
    } else if (prop == u"Compression") {
      const String level = r.Ident();
      bool known = false;
      for (int i = 0; i < 4; ++i)
        if (level == Utf8ToString(kLevelNames[i])) {
          item.SetCompression(static_cast<TCompressionLevel>(i));
          known = true;
        }
      if (!known) Invalid(u"unknown compression " + level);
    } else if (prop == u"Size" || prop == u"Ratio" || prop.starts_with(u"On")) {
      r.SkipSimple();  // computed values and handler names: nothing to take
    } else if (prop == u"StoredItem") {
      if (r.Byte() != vaBinary) Invalid(u"StoredItem is not binary data");
      const Int64 size = r.U32();
      if (size < 4 || size > r.Remaining()) Invalid(u"StoredItem runs past the data");
      const Int64 held = r.U32();
      // The count inside must match the block: a larger one is not trusted.
      if (held != size - 4) Invalid(u"StoredItem's count does not match its data");
      const std::string bytes = r.Raw(held);
      item.SetHeldData(bytes.data(), static_cast<Integer>(held));
    } else {
      Invalid(u"unknown item property " + prop);
    }
  }
}

void ReadItems(TFormReader& r, TmxStoredItems& items) {
  if (r.Byte() != vaCollection) Invalid(u"StoredItems is not a collection");
  items.Clear();
  for (;;) {
    std::uint8_t b = r.Byte();
    if (b == vaNull) return;
    if (b == vaInt8 || b == vaInt16 || b == vaInt32) {
      // An item's order value: the stored order is kept anyway.
      r.Raw(b == vaInt8 ? 1 : b == vaInt16 ? 2 : 4);
      b = r.Byte();
    }
    if (b != vaList) Invalid(u"an item was expected");
    if (items.Count() >= kMaxStoredItems) Invalid(u"too many items");
    ReadItem(r, *items.Add());
  }
}

}  // namespace

void TmxStorage::LoadStore(TStream* Stream) {
  if (Stream == nullptr) Invalid(u"no data");
  TFormReader r(Stream);
  Loading();
  try {
    char signature[4];
    r.Bytes(signature, 4);
    if (std::memcmp(signature, "TPF0", 4) != 0) Invalid(u"no stored form signature");
    if (r.ShortString() != u"TmxStorage") Invalid(u"not a TmxStorage");
    r.ShortString();  // the object's name: the component keeps its own
    for (;;) {
      const String prop = r.ShortString();
      if (prop.empty()) break;
      if (prop == u"StoredItems") {
        ReadItems(r, *FStoredItems);
      } else if (prop == u"OriginalSize" || prop == u"Ratio" || prop == u"Size" || prop == u"Version" ||
                 prop == u"Name" || prop == u"Tag" || prop.starts_with(u"On")) {
        r.SkipSimple();
      } else {
        Invalid(u"unknown property " + prop);
      }
    }
    if (r.Byte() != vaNull) Invalid(u"the store has no children");
  } catch (...) {
    FStoredItems->Clear();
    Loaded();
    throw;
  }
  Loaded();
}

void TmxStorage::SaveStore(TStream* Stream) const {
  TFormWriter w(Stream);
  Stream->WriteBuffer("TPF0", 4);
  w.ShortString("TmxStorage");
  w.ShortString(StringToUtf8(Name()));
  w.Name("OriginalSize");
  w.Int(OriginalSize());
  w.Name("Ratio");
  w.Text(Ratio());
  w.Name("Size");
  w.Int(Size());
  w.Name("StoredItems");
  w.Byte(vaCollection);
  for (Integer i = 0; i < FStoredItems->Count(); ++i) {
    const TmxStoredItem* item = FStoredItems->Items(i);
    w.Byte(vaList);
    if (item->Compression() != TCompressionLevel::clDefault) {
      w.Name("Compression");
      w.Ident(kLevelNames[static_cast<int>(item->Compression())]);
    }
    if (item->Tag() != 0) {
      w.Name("Tag");
      w.Int(item->Tag());
    }
    w.Name("Name");
    w.Text(item->Name());
    w.Name("FileName");
    w.Text(item->FileName());
    w.Name("FileSize");
    w.Int(item->FileSize());
    w.Name("Size");
    w.Int(item->Size());
    w.Name("Ratio");
    w.Text(item->Ratio());
    const Integer held = item->Size();
    if (held > 0) {
      w.Name("StoredItem");
      w.Byte(vaBinary);
      w.U32(static_cast<std::uint32_t>(held) + 4);
      w.U32(static_cast<std::uint32_t>(held));
      Stream->WriteBuffer(item->Data()->Memory(), held);
    }
    w.Byte(vaNull);
  }
  w.Byte(vaNull);
  w.Name("Version");
  w.Text(Version());
  w.Byte(vaNull);
  w.Byte(vaNull);
}

void TmxStorage::LoadFromResource(HINSTANCE Instance, const String& Name) {
  std::unique_ptr<TStream> stream = TAdvUtils::GetResourceStream(Name, Instance);
  if (!stream) throw EResNotFound(Format(u"Resource %s not found", {Name}));
  LoadStore(stream.get());
}
