#pragma once
// Small text helpers shared by the runtime library's own units (not for use
// outside platform/rtl).
#include <cstddef>

#include "platform/rtl/Types.h"

// c in lower case when it is an ASCII capital letter; any other character as is.
inline Char AsciiLower(Char c) { return (c >= u'A' && c <= u'Z') ? static_cast<Char>(c + 32) : c; }

// Whether c is a blank that number texts may carry around them (space or tab).
inline bool IsBlank(Char c) { return c == u' ' || c == u'\t'; }

// pattern with its first "%s" replaced by value; pattern must hold "%s".
inline String WithValue(const char16_t* pattern, StringView value) {
  String msg(pattern);
  msg.replace(msg.find(u"%s"), 2, value);
  return msg;
}

// The index just past the quoted run that starts at s[i] (whose character is
// the quote); s.size() when the quote is never closed.
inline std::size_t SkipQuoted(StringView s, std::size_t i) {
  const Char q = s[i++];
  while (i < s.size() && s[i] != q) ++i;
  return i < s.size() ? i + 1 : i;
}
