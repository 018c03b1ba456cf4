#include "io/file.h"

#ifndef _WIN32
#include <unistd.h>

#include <cerrno>
#endif

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

bool WriteAllToDescriptor(int descriptor, const char* bytes, int32_t size) {
    while (size > 0) {
        const ssize_t written = write(descriptor, bytes, static_cast<size_t>(size));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes += written;
        size -= static_cast<int32_t>(written);
    }
    return true;
}
#endif

}  // namespace ovra
