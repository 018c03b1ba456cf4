#pragma once
// Opening files by UTF-16 path, the one place that knows how the platform spells paths.
#include <cstdint>
#include <cstdio>

namespace ovra {

// `mode` is a C fopen mode ("rb", "wb", "ab", "wbx"); nullptr when the file cannot be opened.
std::FILE* OpenFile(const char16_t* path, const char* mode);

// Writes all `size` bytes and closes the file; false when any byte or the close failed.
bool WriteAllAndClose(std::FILE* file, const char* bytes, int32_t size);

#ifndef _WIN32
// The UTF-8 bytes a POSIX call takes for `path`. False for an empty path, one that does not fit, and one that
// holds U+FFFD or a lone surrogate: such a text may stand for bytes that were not UTF-8, so its UTF-8 form
// could name another file.
bool NarrowPathFromUtf16(const char16_t* path, char* out, int32_t capacity);
#endif

}  // namespace ovra
