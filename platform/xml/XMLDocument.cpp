#include "platform/xml/XMLDocument.h"

#include <pugixml.hpp>
#include <sstream>

namespace {
pugi::xml_node XmlNodeOf(void* AHandle) { return pugi::xml_node(static_cast<pugi::xml_node_struct*>(AHandle)); }
pugi::xml_attribute XmlAttrOf(void* AHandle) {
  return pugi::xml_attribute(static_cast<pugi::xml_attribute_struct*>(AHandle));
}
bool XmlIsCharData(const pugi::xml_node& ANode) {
  return ANode.type() == pugi::node_pcdata || ANode.type() == pugi::node_cdata;
}
}  // namespace

String TXMLAttribute::Name() const { return FHandle ? Utf8ToString(XmlAttrOf(FHandle).name()) : String(); }
String TXMLAttribute::Value() const { return FHandle ? Utf8ToString(XmlAttrOf(FHandle).value()) : String(); }
TXMLAttribute TXMLAttribute::Next() const {
  return FHandle ? TXMLAttribute(XmlAttrOf(FHandle).next_attribute().internal_object()) : TXMLAttribute();
}

bool TXMLNode::IsElement() const { return FHandle && XmlNodeOf(FHandle).type() == pugi::node_element; }
bool TXMLNode::IsText() const { return FHandle && XmlIsCharData(XmlNodeOf(FHandle)); }

String TXMLNode::NodeName() const {
  if (!FHandle) return {};
  const pugi::xml_node n = XmlNodeOf(FHandle);
  switch (n.type()) {
    case pugi::node_element: return Utf8ToString(n.name());
    case pugi::node_pcdata: return u"#text";
    case pugi::node_cdata: return u"#cdata-section";
    default: return {};
  }
}

String TXMLNode::NodeValue() const { return IsText() ? Utf8ToString(XmlNodeOf(FHandle).value()) : String(); }

String TXMLNode::Text() const {
  if (!FHandle) return {};
  const pugi::xml_node root = XmlNodeOf(FHandle);
  if (XmlIsCharData(root)) return Utf8ToString(root.value());
  // Iterative walk: the depth of the tree must not reach the call stack.
  std::string text;
  pugi::xml_node n = root.first_child();
  while (n && n != root) {
    if (XmlIsCharData(n)) text += n.value();
    if (n.first_child()) {
      n = n.first_child();
      continue;
    }
    while (n && n != root && !n.next_sibling()) n = n.parent();
    if (n && n != root) n = n.next_sibling();
  }
  return Utf8ToString(text);
}

TXMLNode TXMLNode::FirstChild() const {
  return FHandle ? TXMLNode(XmlNodeOf(FHandle).first_child().internal_object()) : TXMLNode();
}
TXMLNode TXMLNode::NextSibling() const {
  return FHandle ? TXMLNode(XmlNodeOf(FHandle).next_sibling().internal_object()) : TXMLNode();
}
std::size_t TXMLNode::ChildCount() const {
  std::size_t count = 0;
  if (FHandle)
    for (pugi::xml_node c = XmlNodeOf(FHandle).first_child(); c; c = c.next_sibling()) ++count;
  return count;
}
TXMLAttribute TXMLNode::FirstAttribute() const {
  return FHandle ? TXMLAttribute(XmlNodeOf(FHandle).first_attribute().internal_object()) : TXMLAttribute();
}
bool TXMLNode::HasAttribute(StringView AName) const {
  return FHandle && XmlNodeOf(FHandle).attribute(StringToUtf8(AName).c_str());
}
String TXMLNode::Attribute(StringView AName) const {
  if (!FHandle) return {};
  return Utf8ToString(XmlNodeOf(FHandle).attribute(StringToUtf8(AName).c_str()).value());
}

struct TXMLDocument::TImpl {
  pugi::xml_document Doc;
};

TXMLDocument::TXMLDocument() : FImpl(std::make_unique<TImpl>()) {}
TXMLDocument::~TXMLDocument() = default;

void TXMLDocument::LoadFromText(std::string_view AUtf8) {
  // No parse_doctype: a document type declaration is checked for form and
  // dropped, so its entity declarations have no effect; only the predefined
  // entities and character references are replaced (parse_escapes).
  const unsigned options = pugi::parse_cdata | pugi::parse_escapes | pugi::parse_eol | pugi::parse_wconv_attribute;
  const pugi::xml_parse_result r =
      FImpl->Doc.load_buffer(AUtf8.data(), AUtf8.size(), options, pugi::encoding_utf8);
  if (!r) {
    FImpl->Doc.reset();
    throw EXMLDocError(Utf8ToString(std::string(r.description()) + " at offset " + std::to_string(r.offset)));
  }
}

TXMLNode TXMLDocument::DocumentElement() const {
  return TXMLNode(FImpl->Doc.document_element().internal_object());
}

std::string TXMLDocument::SaveToText() const {
  if (!FImpl->Doc.first_child()) return {};
  std::ostringstream out;
  FImpl->Doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
  return out.str();
}
