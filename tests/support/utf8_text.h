#pragma once
// UTF-8 views of UTF-16 texts, so that comparisons and failure messages read as the text itself.
#include <string>

namespace ovra {

// The whole text however long; a null text reads as "".
std::string Utf8(const char16_t* text);
std::string Utf8(const std::u16string& text);

}  // namespace ovra
