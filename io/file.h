#pragma once
// Opening files by UTF-16 path, the one place that knows how the platform spells paths.
#include <cstdint>
#include <cstdio>

namespace ovra {

// `mode` is a C fopen mode ("rb", "wb", "ab", "wbx"); nullptr when the file cannot be opened.
std::FILE* OpenFile(const char16_t* path, const char* mode);

// Writes all `size` bytes and closes the file; false when any byte or the close failed.
bool WriteAllAndClose(std::FILE* file, const char* bytes, int32_t size);

}  // namespace ovra
