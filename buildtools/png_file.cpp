#include "buildtools/png_file.h"

#include <algorithm>
#include <array>

namespace ovra {
namespace {

// Bits go out least significant first; Huffman codes are reversed into that order by the caller.
struct BitWriter {
    std::vector<uint8_t>& out;
    uint32_t buffer = 0;
    int count = 0;
    void Put(uint32_t bits, int length) {
        buffer |= bits << count;
        count += length;
        while (count >= 8) {
            out.push_back(static_cast<uint8_t>(buffer));
            buffer >>= 8;
            count -= 8;
        }
    }
    void PutCode(uint32_t code, int length) {  // a Huffman code, most significant bit first
        uint32_t reversed = 0;
        for (int i = 0; i < length; ++i) reversed |= ((code >> i) & 1u) << (length - 1 - i);
        Put(reversed, length);
    }
    void Flush() {
        if (count > 0) out.push_back(static_cast<uint8_t>(buffer));
        buffer = 0;
        count = 0;
    }
};

// The fixed literal/length code of deflate.
void PutSymbol(BitWriter& bits, int symbol) {
    if (symbol < 144) bits.PutCode(0x30 + symbol, 8);
    else if (symbol < 256) bits.PutCode(0x190 + symbol - 144, 9);
    else if (symbol < 280) bits.PutCode(symbol - 256, 7);
    else bits.PutCode(0xC0 + symbol - 280, 8);
}

constexpr std::array<int, 29> LengthBase = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                            31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> LengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                             2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> DistanceBase = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,
                                              33,  49,  65,  97,  129, 193,  257,  385,  513,  769,
                                              1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> DistanceExtra = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6,
                                               6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void PutMatch(BitWriter& bits, int length, int distance) {
    int l = static_cast<int>(LengthBase.size()) - 1;
    while (LengthBase[l] > length) --l;
    PutSymbol(bits, 257 + l);
    bits.Put(static_cast<uint32_t>(length - LengthBase[l]), LengthExtra[l]);
    int d = static_cast<int>(DistanceBase.size()) - 1;
    while (DistanceBase[d] > distance) --d;
    bits.PutCode(static_cast<uint32_t>(d), 5);
    bits.Put(static_cast<uint32_t>(distance - DistanceBase[d]), DistanceExtra[d]);
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& data, int rowBytes) {
    std::vector<uint8_t> out = {0x78, 0x01};
    BitWriter bits{out};
    bits.Put(1, 1);  // the last block
    bits.Put(1, 2);  // fixed Huffman codes
    const int distances[] = {4, rowBytes};
    const size_t size = data.size();
    for (size_t at = 0; at < size;) {
        int bestLength = 0;
        int bestDistance = 0;
        for (int distance : distances) {
            if (distance <= 0 || static_cast<size_t>(distance) > at || distance > 32768) continue;
            int length = 0;
            while (length < 258 && at + length < size && data[at + length] == data[at + length - distance]) ++length;
            if (length > bestLength) {
                bestLength = length;
                bestDistance = distance;
            }
        }
        if (bestLength >= 3) {
            PutMatch(bits, bestLength, bestDistance);
            at += static_cast<size_t>(bestLength);
        } else {
            PutSymbol(bits, data[at]);
            ++at;
        }
    }
    PutSymbol(bits, 256);
    bits.Flush();
    const uint32_t adler = Adler32(data.data(), data.size());
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(adler >> shift));
    return out;
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void PutLittleEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutChunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
    PutBigEndian(png, static_cast<uint32_t>(data.size()));
    const size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    PutBigEndian(png, Crc32(png.data() + start, png.size() - start));
}

}  // namespace

uint32_t Crc32(const uint8_t* bytes, size_t size, uint32_t crc) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t Adler32(const uint8_t* bytes, size_t size) {
    uint32_t a = 1;
    uint32_t b = 0;
    for (size_t i = 0; i < size; ++i) {
        a = (a + bytes[i]) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

std::vector<uint8_t> PngFromRgba(const uint8_t* pixels, int width, int height) {
    const int rowBytes = 1 + width * 4;  // each row starts with its filter type, 0: none
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(rowBytes) * height);
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        const uint8_t* row = pixels + static_cast<size_t>(y) * width * 4;
        raw.insert(raw.end(), row, row + width * 4);
    }
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBigEndian(header, static_cast<uint32_t>(width));
    PutBigEndian(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, adaptive filters, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", Deflate(raw, rowBytes));
    PutChunk(png, "IEND", {});
    return png;
}

std::vector<uint8_t> IcoFromPngs(const std::vector<std::vector<uint8_t>>& pngs, const std::vector<int>& sizes) {
    std::vector<uint8_t> ico;
    const size_t count = std::min(pngs.size(), sizes.size());
    PutLittleEndian(ico, 0, 2);
    PutLittleEndian(ico, 1, 2);  // an icon, not a cursor
    PutLittleEndian(ico, static_cast<uint32_t>(count), 2);
    uint32_t offset = static_cast<uint32_t>(6 + 16 * count);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t side = sizes[i] >= 256 ? 0 : static_cast<uint32_t>(sizes[i]);  // 0 stands for 256
        PutLittleEndian(ico, side, 1);
        PutLittleEndian(ico, side, 1);
        PutLittleEndian(ico, 0, 1);   // no palette
        PutLittleEndian(ico, 0, 1);
        PutLittleEndian(ico, 1, 2);   // planes
        PutLittleEndian(ico, 32, 2);  // bits per pixel
        PutLittleEndian(ico, static_cast<uint32_t>(pngs[i].size()), 4);
        PutLittleEndian(ico, offset, 4);
        offset += static_cast<uint32_t>(pngs[i].size());
    }
    for (size_t i = 0; i < count; ++i) ico.insert(ico.end(), pngs[i].begin(), pngs[i].end());
    return ico;
}

}  // namespace ovra
