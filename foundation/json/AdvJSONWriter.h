#pragma once
// TAdvJSONWriter: writes one JSON document as a sequence of calls, raising at
// the first call that would make the document invalid. Compact by default;
// IndentLength turns on line breaks and indentation. The text reaches the
// target only when the writer is destroyed.
#include <cstdint>
#include <string>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/Types.h"

class TStream;

// Collects the output; its destructor appends everything to the target.
class TAdvJSONStreamWriter : public TObject {
 public:
  // Writes everything at the stream's position on destruction (the stream must
  // outlive the writer; a failing write there is dropped, destructors never raise).
  explicit TAdvJSONStreamWriter(TStream* aTarget);
  // Appends to the byte string (which must outlive the writer) on destruction.
  explicit TAdvJSONStreamWriter(std::string* aTarget);
  ~TAdvJSONStreamWriter() override;

  void Write(std::string_view s) { FWriteStream.append(s); }
  void Write(char c) { FWriteStream.push_back(c); }
  std::string& Buffer() { return FWriteStream; }

 private:
  TStream* FStream = nullptr;
  std::string* FTarget = nullptr;
  std::string FWriteStream;
};

class TAdvJSONWriter : public TObject {
 public:
  class ECannotWriteName : public Exception {
   public: ECannotWriteName() : Exception(u"Cannot write name in current Json scope") {}
  };
  class EMultipleRootNotAllowed : public Exception {
   public: EMultipleRootNotAllowed() : Exception(u"Multiple root values not allowed") {}
  };
  class EObjectOrArrayExpected : public Exception {
   public: EObjectOrArrayExpected() : Exception(u"Object or array expected as top-level value") {}
  };
  class EInvalidNesting : public Exception {
   public: EInvalidNesting() : Exception(u"Invalid nesting. Not all arrays/objects were properly closed.") {}
  };
  class EMissingValue : public Exception { public: EMissingValue() : Exception(u"Json value missing") {} };
  class ETooManyDepthLevels : public Exception {
   public: ETooManyDepthLevels() : Exception(u"Maximum level of nested structured reached.") {}
  };
  class EEmptyJson : public Exception {
   public: EEmptyJson() : Exception(u"Json is still empty. Cannot perform operation.") {}
  };
  class EEmptyName : public Exception { public: EEmptyName() : Exception(u"Cannot write empty name") {} };

  // A writer whose text is written at the stream's position when the writer is destroyed.
  explicit TAdvJSONWriter(TStream* AStream);
  // A writer whose text is appended to the byte string when the writer is destroyed.
  explicit TAdvJSONWriter(std::string* ATarget);
  ~TAdvJSONWriter() override;

  Integer IndentLength() const { return static_cast<Integer>(FIndent.size()); }
  // Above 0: that many spaces per level and ": " after names; else compact.
  void SetIndentLength(Integer Value);

  TAdvJSONWriter& WriteBeginObject();
  TAdvJSONWriter& WriteEndObject();
  TAdvJSONWriter& WriteBeginArray();
  TAdvJSONWriter& WriteEndArray();
  // Keeps the name for the next value; EEmptyName, EMissingValue (a name already pending).
  TAdvJSONWriter& WriteName(StringView Name);
  // The value escaped to ASCII between double quotes.
  TAdvJSONWriter& WriteString(StringView Value);
  // The value between double quotes as UTF-8, without escaping.
  TAdvJSONWriter& WriteRawString(StringView Value);
  TAdvJSONWriter& WriteBoolean(bool Value);
  TAdvJSONWriter& WriteNull();
  TAdvJSONWriter& WriteInteger(Int64 Value);
  // General float text with "." (15 significant digits); NaN and infinities, which
  // JSON cannot hold, are written as null.
  TAdvJSONWriter& WriteDouble(Double Value);
  // Checks that exactly one complete root value was written; EInvalidNesting otherwise.
  TAdvJSONWriter& Close();

 private:
  static constexpr int kMaxStack = 256;

  std::uint8_t Top() const;
  void SetTop(std::uint8_t scope);
  void Push(std::uint8_t scope);
  void LineBreak();
  void WritePendingName();
  void BeforeValue(bool root);
  void BeginValue() {
    WritePendingName();
    BeforeValue(false);
  }
  TAdvJSONWriter& EndScope(std::uint8_t emptyScope, std::uint8_t nonEmptyScope, char closer);

  TAdvJSONStreamWriter FWriter;
  std::uint8_t FStack[kMaxStack] = {};
  Integer FStackSize = 1;
  std::string FIndent;
  std::string_view FSeparator = ":";  // one of two literal texts
  String FDeferredName;
  bool FHasDeferredName = false;
  bool FClosed = false;
};
