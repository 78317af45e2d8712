#pragma once
// TXMLDocument: the small document object model the SVG parser reads. Text
// is parsed with entity expansion limited to the five predefined entities and
// character references: a document type declaration is skipped, its entities
// are never expanded and nothing outside the text is ever loaded. Nodes and
// attributes are light handles into the document; they stay valid while the
// document lives and is not reloaded.
#include <cstddef>
#include <memory>
#include <string>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Types.h"

// A parse error: the message names the problem and its byte offset.
class EXMLDocError : public Exception {
 public:
  using Exception::Exception;
};

class TXMLAttribute {
 public:
  TXMLAttribute() = default;
  bool IsNull() const { return FHandle == nullptr; }
  // The name exactly as written (prefix included); empty for a null handle.
  String Name() const;
  String Value() const;
  // The next attribute in document order; a null handle after the last.
  TXMLAttribute Next() const;

 private:
  friend class TXMLNode;
  explicit TXMLAttribute(void* AHandle) : FHandle(AHandle) {}
  void* FHandle = nullptr;
};

class TXMLNode {
 public:
  TXMLNode() = default;
  bool IsNull() const { return FHandle == nullptr; }
  bool IsElement() const;
  // Character data (text or CDATA).
  bool IsText() const;
  // Element name exactly as written; "#text" for text, "#cdata-section" for
  // CDATA, empty for anything else or a null handle.
  String NodeName() const;
  // The character data of a text or CDATA node; empty for other nodes.
  String NodeValue() const;
  // All character data below the node in document order.
  String Text() const;
  TXMLNode FirstChild() const;
  TXMLNode NextSibling() const;
  // Number of child nodes (elements and character data).
  std::size_t ChildCount() const;
  TXMLAttribute FirstAttribute() const;
  bool HasAttribute(StringView AName) const;
  // The attribute's value; empty when absent.
  String Attribute(StringView AName) const;

 private:
  friend class TXMLDocument;
  explicit TXMLNode(void* AHandle) : FHandle(AHandle) {}
  void* FHandle = nullptr;
};

class TXMLDocument {
 public:
  TXMLDocument();
  ~TXMLDocument();
  TXMLDocument(const TXMLDocument&) = delete;
  TXMLDocument& operator=(const TXMLDocument&) = delete;

  // Parses UTF-8 text (a byte-order mark is skipped); malformed text raises
  // EXMLDocError and leaves the document empty.
  void LoadFromText(std::string_view AUtf8);
  // The root element; a null handle when there is none.
  TXMLNode DocumentElement() const;
  // The document written out as UTF-8 XML (empty for an empty document).
  std::string SaveToText() const;

 private:
  struct TImpl;
  std::unique_ptr<TImpl> FImpl;
};
