#include "foundation/json/AdvJSONWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "foundation/json/JSONScopes.h"
#include "foundation/utils/AdvUtils.h"
#include "platform/rtl/Streams.h"

TAdvJSONStreamWriter::TAdvJSONStreamWriter(std::string* aTarget) : FTarget(aTarget) {}

TAdvJSONStreamWriter::TAdvJSONStreamWriter(TStream* aTarget) : FStream(aTarget) {}

TAdvJSONStreamWriter::~TAdvJSONStreamWriter() {
  if (FTarget != nullptr) {
    // An empty target takes the text without a copy.
    if (FTarget->empty()) FTarget->swap(FWriteStream);
    else FTarget->append(FWriteStream);
  }
  if (FStream == nullptr || FWriteStream.empty()) return;
  try {
    constexpr std::size_t kChunk = 1u << 30;
    for (std::size_t at = 0; at < FWriteStream.size(); at += kChunk)
      FStream->WriteBuffer(FWriteStream.data() + at, static_cast<Integer>(std::min(kChunk, FWriteStream.size() - at)));
  } catch (const Exception&) {
    // Nothing may leave a destructor; the target keeps what it took.
  }
}

TAdvJSONWriter::TAdvJSONWriter(std::string* ATarget) : FWriter(ATarget) { FStack[0] = kEmptyDocument; }

TAdvJSONWriter::TAdvJSONWriter(TStream* AStream) : FWriter(AStream) { FStack[0] = kEmptyDocument; }

TAdvJSONWriter::~TAdvJSONWriter() = default;

void TAdvJSONWriter::SetIndentLength(Integer Value) {
  if (Value > 0) {
    FIndent.assign(static_cast<std::size_t>(Value), ' ');
    FSeparator = ": ";
  } else {
    FIndent.clear();
    FSeparator = ":";
  }
}

std::uint8_t TAdvJSONWriter::Top() const {
  if (FStackSize <= 0) throw EEmptyJson();
  return FStack[FStackSize - 1];
}

void TAdvJSONWriter::SetTop(std::uint8_t scope) {
  if (FStackSize <= 0) throw EEmptyJson();
  FStack[FStackSize - 1] = scope;
}

void TAdvJSONWriter::Push(std::uint8_t scope) {
  if (FStackSize >= kMaxStack) throw ETooManyDepthLevels();
  FStack[FStackSize++] = scope;
}

void TAdvJSONWriter::LineBreak() {
  if (FIndent.empty()) return;
  std::string& out = FWriter.Buffer();
  out += "\r\n";
  for (Integer i = 1; i < FStackSize; ++i) out += FIndent;
}

void TAdvJSONWriter::WritePendingName() {
  if (!FHasDeferredName) return;
  const std::uint8_t top = Top();
  if (top == kNonEmptyObject) FWriter.Write(',');
  else if (top != kEmptyObject) throw ECannotWriteName();
  LineBreak();
  SetTop(kDanglingName);
  std::string& out = FWriter.Buffer();
  out.push_back('"');
  TAdvUtils::AppendEscaped(out, FDeferredName);
  out.push_back('"');
  FDeferredName.clear();
  FHasDeferredName = false;
}

void TAdvJSONWriter::BeforeValue(bool root) {
  switch (Top()) {
    case kEmptyDocument:
      if (!root) throw EObjectOrArrayExpected();
      SetTop(kNonEmptyDocument);
      break;
    case kEmptyArray:
      SetTop(kNonEmptyArray);
      LineBreak();
      break;
    case kNonEmptyDocument:
      throw EMultipleRootNotAllowed();
    case kNonEmptyArray:
      FWriter.Write(',');
      LineBreak();
      break;
    case kDanglingName:
      FWriter.Write(FSeparator);
      SetTop(kNonEmptyObject);
      break;
    default:  // an object value without a name
      throw EInvalidNesting();
  }
}

TAdvJSONWriter& TAdvJSONWriter::WriteBeginObject() {
  WritePendingName();
  BeforeValue(true);
  Push(kEmptyObject);
  FWriter.Write('{');
  return *this;
}

TAdvJSONWriter& TAdvJSONWriter::WriteBeginArray() {
  WritePendingName();
  BeforeValue(true);
  Push(kEmptyArray);
  FWriter.Write('[');
  return *this;
}

TAdvJSONWriter& TAdvJSONWriter::EndScope(std::uint8_t emptyScope, std::uint8_t nonEmptyScope, char closer) {
  const std::uint8_t top = Top();
  if (top != emptyScope && top != nonEmptyScope) throw EInvalidNesting();
  if (FHasDeferredName) throw EMissingValue();
  if (FStackSize <= 1) throw EInvalidNesting();
  --FStackSize;
  if (top == nonEmptyScope) LineBreak();
  FWriter.Write(closer);
  return *this;
}

TAdvJSONWriter& TAdvJSONWriter::WriteEndObject() { return EndScope(kEmptyObject, kNonEmptyObject, '}'); }

TAdvJSONWriter& TAdvJSONWriter::WriteEndArray() { return EndScope(kEmptyArray, kNonEmptyArray, ']'); }

TAdvJSONWriter& TAdvJSONWriter::WriteName(StringView Name) {
  if (Name.empty()) throw EEmptyName();
  if (FHasDeferredName) throw EMissingValue();
  if (FStackSize <= 0) throw EEmptyJson();
  FDeferredName.assign(Name);
  FHasDeferredName = true;
  return *this;
}

TAdvJSONWriter& TAdvJSONWriter::WriteString(StringView Value) {
  BeginValue();
  std::string& out = FWriter.Buffer();
  out.push_back('"');
  TAdvUtils::AppendEscaped(out, Value);
  out.push_back('"');
  return *this;
}

TAdvJSONWriter& TAdvJSONWriter::WriteRawString(StringView Value) {
  BeginValue();
  std::string& out = FWriter.Buffer();
  out.push_back('"');
  out += StringToUtf8(Value);
  out.push_back('"');
  return *this;
}

TAdvJSONWriter& TAdvJSONWriter::WriteBoolean(bool Value) {
  BeginValue();
  FWriter.Write(Value ? "true" : "false");
  return *this;
}

TAdvJSONWriter& TAdvJSONWriter::WriteNull() {
  BeginValue();
  FWriter.Write("null");
  return *this;
}

TAdvJSONWriter& TAdvJSONWriter::WriteInteger(Int64 Value) {
  BeginValue();
  char buf[24];
  const auto res = std::to_chars(buf, buf + sizeof buf, Value);
  FWriter.Write(std::string_view(buf, static_cast<std::size_t>(res.ptr - buf)));
  return *this;
}

TAdvJSONWriter& TAdvJSONWriter::WriteDouble(Double Value) {
  BeginValue();
  if (!std::isfinite(Value)) FWriter.Write("null");
  else TAdvUtils::AppendFloatDot(FWriter.Buffer(), Value);
  return *this;
}

TAdvJSONWriter& TAdvJSONWriter::Close() {
  if (FStackSize != 1 || Top() != kNonEmptyDocument) throw EInvalidNesting();
  FClosed = true;
  return *this;
}
