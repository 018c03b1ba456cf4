#include "tests/support/test_files.h"

#include <unistd.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include <atomic>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace ovra {

std::filesystem::path NativePath(const std::string& path) {
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(NativePath(path), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(NativePath(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("could not write " + path);
}

ScratchFolder::ScratchFolder() {
    static std::atomic<int> counter{0};
    // Only a folder this process made itself: Wine gives a new process the number of one that has ended, and
    // a folder that one left behind would be taken for this one's.
    std::filesystem::path made;
    do {
        made = std::filesystem::temp_directory_path() /
               ("ovra_test_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    } while (!std::filesystem::create_directories(made));
    const std::u8string name = made.generic_u8string();
    path.assign(name.begin(), name.end());
}

#ifdef _WIN32
namespace {

// std::filesystem lists a folder through the C runtime, which stops at 260 units (and under Wine then lists
// another folder); the system's own calls take the \\?\ form of a path, which has no such limit. Some tests make
// deeper paths than that.
void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring inside = folder + L"\\" + name;
            const DWORD kind = found.dwFileAttributes;
            if ((kind & FILE_ATTRIBUTE_DIRECTORY) && !(kind & FILE_ATTRIBUTE_REPARSE_POINT))
                RemoveTree(inside);
            else if (kind & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryW(inside.c_str());  // a link: only the link goes
            else
                DeleteFileW(inside.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
#endif

ScratchFolder::~ScratchFolder() {
#ifdef _WIN32
    RemoveTree(L"\\\\?\\" + NativePath(path).make_preferred().wstring());
#else
    std::error_code error;
    std::filesystem::remove_all(path, error);
#endif
}

std::u16string ScratchFolder::Path16() const { return NativePath(path).u16string(); }

}  // namespace ovra
