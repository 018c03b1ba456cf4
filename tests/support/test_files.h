#pragma once
// Files and folders for the tests. Paths are UTF-8 strings with "/" between names, on every system.
#include <filesystem>
#include <string>

namespace ovra {

// The path a UTF-8 string names, also where narrow paths are not UTF-8 (Windows).
std::filesystem::path NativePath(const std::string& path);

// Every byte of the file as it is on the disk; "" when it cannot be read.
std::string ReadFile(const std::string& path);

// Makes the file hold exactly `bytes`, line ends untranslated. Throws when that fails, so the test that
// asked fails there and not at some later comparison.
void WriteFile(const std::string& path, const std::string& bytes);

// A fresh empty folder below the system temporary folder, removed with everything in it when destroyed.
struct ScratchFolder {
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string path;
    std::u16string Path16() const;
};

}  // namespace ovra
