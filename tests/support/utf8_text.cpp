#include "tests/support/utf8_text.h"

#include "text/text.h"
#include "text/utf.h"

namespace ovra {

std::string Utf8(const char16_t* text) {
    // Three bytes a unit is the most UTF-8 takes (a surrogate pair: four for two), so the text always fits.
    std::string out(static_cast<size_t>(TextLength(text)) * 3 + 1, '\0');
    const int32_t size = Utf8FromUtf16(text, out.data(), static_cast<int32_t>(out.size()));
    out.resize(size < 0 ? 0 : static_cast<size_t>(size));
    return out;
}

std::string Utf8(const std::u16string& text) { return Utf8(text.c_str()); }

}  // namespace ovra
