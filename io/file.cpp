#include "io/file.h"

#include "text/utf.h"

#ifdef _WIN32
#include <wchar.h>
static_assert(sizeof(wchar_t) == 2, "UTF-16 paths are passed to the platform as wchar_t");
#endif

namespace ovra {

std::FILE* OpenFile(const char16_t* path, const char* mode) {
    if (path == nullptr || path[0] == 0) return nullptr;
#ifdef _WIN32
    wchar_t wideMode[8] = {};
    for (int i = 0; i < 7 && mode[i] != 0; ++i) wideMode[i] = static_cast<wchar_t>(mode[i]);
    return _wfopen(reinterpret_cast<const wchar_t*>(path), wideMode);
#else
    // Paths are at most 519 units here, so three bytes a unit is room enough.
    char narrow[2048];
    if (!NarrowPathFromUtf16(path, narrow, sizeof narrow)) return nullptr;
    return std::fopen(narrow, mode);
#endif
}

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

bool WriteAllAndClose(std::FILE* file, const char* bytes, int32_t size) {
    const bool written = size <= 0 || std::fwrite(bytes, 1, static_cast<size_t>(size), file) == static_cast<size_t>(size);
    const bool flushed = std::fflush(file) == 0;
    const bool closed = std::fclose(file) == 0;
    return written && flushed && closed;
}

}  // namespace ovra
