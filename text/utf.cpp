#include "text/utf.h"

namespace ovra {
namespace {

constexpr char32_t Replacement = 0xFFFD;

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

int32_t Utf8Size(char32_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4; }

}  // namespace

int32_t Utf8FromUtf16(const char16_t* text, char* out, int32_t capacity) {
    if (capacity < 1) return -1;
    int32_t n = 0;
    for (const char16_t* p = text ? text : u""; *p != 0; ++p) {
        char32_t c = *p;
        if (IsHighSurrogate(c) && IsLowSurrogate(p[1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(p[1]) - 0xDC00);
            ++p;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            c = Replacement;
        }
        int32_t size = Utf8Size(c);
        if (n + size > capacity - 1) {
            out[0] = 0;
            return -1;
        }
        auto put = [&](uint32_t byte) { out[n++] = static_cast<char>(static_cast<unsigned char>(byte)); };
        if (size == 1) {
            put(c);
        } else if (size == 2) {
            put(0xC0 | (c >> 6));
            put(0x80 | (c & 0x3F));
        } else if (size == 3) {
            put(0xE0 | (c >> 12));
            put(0x80 | ((c >> 6) & 0x3F));
            put(0x80 | (c & 0x3F));
        } else {
            put(0xF0 | (c >> 18));
            put(0x80 | ((c >> 12) & 0x3F));
            put(0x80 | ((c >> 6) & 0x3F));
            put(0x80 | (c & 0x3F));
        }
    }
    out[n] = 0;
    return n;
}

int32_t Utf16FromUtf8(const char* text, int32_t length, char16_t* out, int32_t capacity) {
    if (capacity < 1) return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(text ? text : "");
    const unsigned char* end = p;
    if (length < 0) {
        while (*end != 0) ++end;
    } else {
        end = p + length;
    }
    int32_t n = 0;
    auto put = [&](char32_t unit) {
        if (n < capacity - 1) out[n++] = static_cast<char16_t>(unit);
    };
    while (p < end && n < capacity - 1) {
        char32_t c = *p++;
        int32_t more = 0;
        char32_t least = 0;
        if (c < 0x80) {
        } else if (c >= 0xC2 && c <= 0xDF) {
            more = 1, least = 0x80, c &= 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2, least = 0x800, c &= 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3, least = 0x10000, c &= 0x07;
        } else {
            put(Replacement);
            continue;
        }
        bool ok = true;
        for (int32_t i = 0; i < more; ++i) {
            if (p >= end || (*p & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            c = (c << 6) | (*p++ & 0x3F);
        }
        if (!ok || c < least || c > 0x10FFFF || IsHighSurrogate(c) || IsLowSurrogate(c)) {
            put(Replacement);
            continue;
        }
        if (c >= 0x10000) {
            if (n + 2 > capacity - 1) break;  // never split a pair
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            put(c);
        }
    }
    out[n] = 0;
    return n;
}

}  // namespace ovra
