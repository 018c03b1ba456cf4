#pragma once
// Conversions between the core's UTF-16 texts and Qt strings.
#include <QString>

namespace ovra {

inline QString QStringFromUtf16(const char16_t* text) { return text == nullptr ? QString() : QString::fromUtf16(text); }

// The core ends lines with CR LF; Qt's text widgets want LF alone.
inline QString DisplayTextFromUtf16(const char16_t* text) {
    return QStringFromUtf16(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace ovra
