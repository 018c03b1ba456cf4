#pragma once
// PNG and ICO files from RGBA pixels, with the standard library only: a zlib stream of one fixed-Huffman
// deflate block whose matches repeat the previous pixel or the row above.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ovra {

// The PNG file of a width x height image of R, G, B, A bytes (8 bits each, straight alpha).
std::vector<uint8_t> PngFromRgba(const uint8_t* pixels, int width, int height);

// An ICO file whose entries are the given PNG files of square images of the given sizes (at most 256).
std::vector<uint8_t> IcoFromPngs(const std::vector<std::vector<uint8_t>>& pngs, const std::vector<int>& sizes);

uint32_t Crc32(const uint8_t* bytes, size_t size, uint32_t crc = 0);
uint32_t Adler32(const uint8_t* bytes, size_t size);

}  // namespace ovra
