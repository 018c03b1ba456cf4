#pragma once
// How the platform spells paths: the one place that turns a UTF-16 path into the bytes a POSIX call takes.
#include <cstdint>

namespace ovra {

#ifndef _WIN32
// The UTF-8 bytes a POSIX call takes for `path`. False for an empty path, one that does not fit, and one that
// holds U+FFFD or a lone surrogate: such a text may stand for bytes that were not UTF-8, so its UTF-8 form
// could name another file.
bool NarrowPathFromUtf16(const char16_t* path, char* out, int32_t capacity);
// Writes all `size` bytes, going on after a signal; false on the first error or a write that takes nothing.
bool WriteAllToDescriptor(int descriptor, const char* bytes, int32_t size);
#endif

}  // namespace ovra
