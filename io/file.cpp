#include "io/file.h"

#include "text/utf.h"

namespace ovra {

#ifndef _WIN32
bool NarrowPathFromUtf16(const char16_t* path, char* out, int32_t capacity) {
    if (path == nullptr || path[0] == 0) return false;
    for (const char16_t* c = path; *c != 0; ++c) {
        if (*c == u'\uFFFD') return false;
        const bool high = *c >= 0xD800 && *c < 0xDC00;
        const bool low = *c >= 0xDC00 && *c < 0xE000;
        if (low) return false;
        if (high) {
            if (c[1] < 0xDC00 || c[1] >= 0xE000) return false;
            ++c;
        }
    }
    return Utf8FromUtf16(path, out, capacity) > 0;
}
#endif

}  // namespace ovra
