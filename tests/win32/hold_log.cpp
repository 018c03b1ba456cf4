// Holds a file the way another Windows program might, until its standard input ends: "share0" opens it
// sharing nothing (a spreadsheet), "lock" opens it shared and locks every byte (LockFileEx). Prints HELD once
// the file is held.
//   hold_log <path> share0|lock
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const bool lock = std::strcmp(argv[2], "lock") == 0;
    HANDLE file = CreateFileW(std::filesystem::path(argv[1]).c_str(), GENERIC_READ | GENERIC_WRITE,
                              lock ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    OVERLAPPED at{};
    if (lock && LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &at) == 0) return 1;
    std::printf("HELD\n");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    CloseHandle(file);
    return 0;
}
