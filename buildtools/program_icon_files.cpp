// Writes the program icon as files: PNGs of chosen sizes into a folder and, optionally, the Windows .ico.
//
//   program_icon_files [--sizes 16,24,...] [--png-folder DIR] [--ico FILE]
//
// PNG files are named <size>.png; the .ico holds every chosen size as a PNG entry. Exit 0, or 1 with a line on
// stderr when an argument is wrong or a file cannot be written whole.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "buildtools/png_file.h"
#include "ui/program_icon_pixels.h"

namespace {

bool WriteWhole(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

bool SizesFromText(const char* text, std::vector<int>& sizes) {
    sizes.clear();
    while (*text != 0) {
        char* end = nullptr;
        const long size = std::strtol(text, &end, 10);
        if (end == text || size < 1 || size > 256) return false;
        sizes.push_back(static_cast<int>(size));
        text = *end == ',' ? end + 1 : end;
        if (*end != ',' && *end != 0) return false;
    }
    return !sizes.empty();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes(std::begin(ovra::ProgramIconSizes), std::end(ovra::ProgramIconSizes));
    std::string pngFolder;
    std::string icoPath;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--sizes") == 0 && hasValue && SizesFromText(argv[i + 1], sizes)) ++i;
        else if (std::strcmp(argv[i], "--png-folder") == 0 && hasValue) pngFolder = argv[++i];
        else if (std::strcmp(argv[i], "--ico") == 0 && hasValue) icoPath = argv[++i];
        else {
            std::fprintf(stderr, "program_icon_files: unexpected argument %s\n", argv[i]);
            return 1;
        }
    }
    std::vector<std::vector<uint8_t>> pngs;
    for (int size : sizes) {
        std::vector<uint8_t> pixels(static_cast<size_t>(size) * size * 4);
        ovra::ProgramIconPixels(size, pixels.data());
        pngs.push_back(ovra::PngFromRgba(pixels.data(), size, size));
        const std::string path = pngFolder + "/" + std::to_string(size) + ".png";
        if (!pngFolder.empty() && !WriteWhole(path, pngs.back())) {
            std::fprintf(stderr, "program_icon_files: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    if (!icoPath.empty() && !WriteWhole(icoPath, ovra::IcoFromPngs(pngs, sizes))) {
        std::fprintf(stderr, "program_icon_files: cannot write %s\n", icoPath.c_str());
        return 1;
    }
    return 0;
}
