#pragma once
// A file written whole or not at all.
#include <cstdint>

namespace ovra {

// Makes `path` hold exactly `bytes`: they are written and synced into a new file in the same folder, which is
// then renamed over the path. False when any step fails, and the path then holds what it held before; false at
// once, without opening it, when the path names something other than a regular file (a folder, a FIFO, a
// device).
bool ReplaceFileWhole(const char16_t* path, const char* bytes, int32_t size);

}  // namespace ovra
