#include "text/text.h"

namespace ovra {

int32_t TextLength(const char16_t* text) {
    if (text == nullptr) return 0;
    int32_t n = 0;
    while (text[n] != 0) ++n;
    return n;
}

void CopyText(char16_t* out, int32_t capacity, const char16_t* text) {
    if (capacity < 1) return;
    out[0] = 0;
    AppendText(out, capacity, text);
}

int32_t AppendUnits(char16_t* out, int32_t capacity, const char16_t* text, int32_t count) {
    if (capacity < 1) return 0;
    int32_t n = TextLength(out);
    // Room for n characters plus terminator is capacity; only capacity - 1 - n more fit.
    int32_t room = capacity - 1 - n;
    if (room <= 0 || text == nullptr) return n;
    for (int32_t i = 0; i < count && i < room && text[i] != 0; ++i) out[n++] = text[i];
    out[n] = 0;
    return n;
}

int32_t AppendText(char16_t* out, int32_t capacity, const char16_t* text) {
    return AppendUnits(out, capacity, text, INT32_MAX);
}

bool TextEquals(const char16_t* a, const char16_t* b) {
    if (a == nullptr) a = u"";
    if (b == nullptr) b = u"";
    while (*a != 0 && *a == *b) ++a, ++b;
    return *a == *b;
}

}  // namespace ovra
