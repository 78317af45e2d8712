#pragma once
// Text between the layer's String and the toolkit's QString, for platform/*.cpp
// only: it includes Qt, so never from a public header or from subsystem code.
#include <QString>

#include "platform/rtl/Types.h"

// The same UTF-16 code units as a QString (lone surrogates are kept).
inline QString ToQString(StringView s) {
  return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

// `length` units of s; a negative length reads to the terminator, at most 16 M
// units so that a missing terminator cannot run away. Null gives "".
inline QString ToQString(const Char* s, qsizetype length) {
  if (s == nullptr) return {};
  if (length < 0) {
    length = 0;
    while (length < (qsizetype{1} << 24) && s[length] != 0) ++length;
  }
  return ToQString(StringView(s, static_cast<std::size_t>(length)));
}

// The same UTF-16 code units as a String.
inline String FromQString(const QString& q) {
  return String(reinterpret_cast<const Char*>(q.utf16()), static_cast<std::size_t>(q.size()));
}
