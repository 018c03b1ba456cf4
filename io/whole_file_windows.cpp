#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// windows.h first: ntsecapi.h needs its types.
#include <ntsecapi.h>

#include <cstdint>
#include <cwchar>

#include "io/whole_file.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 paths are passed to the platform as wchar_t");

namespace ovra {
namespace {

// Opened without any access, only to ask what it is: a console, a pipe or a printer is no report file.
bool IsDiskFileOrAbsent(const wchar_t* path) {
    const DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    HANDLE handle = CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    const bool disk = GetFileType(handle) == FILE_TYPE_DISK;
    CloseHandle(handle);
    return disk;
}

// A name taken by a leftover is tried again with other random bits; 16 misses in 2^64 mean someone is
// making the names on purpose.
constexpr int NameAttempts = 16;

// Bits no other run draws. Without the generator the counter still gives each attempt its own name.
uint64_t RandomNameBits() {
    uint64_t bits = 0;
    if (RtlGenRandom(&bits, sizeof bits)) return bits;
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    return static_cast<uint64_t>(counter.QuadPart) ^ (static_cast<uint64_t>(GetCurrentProcessId()) << 40);
}

// A new file of its own beside the target (`folderLength` units of `target` name its folder), created
// exclusively: a leftover of a killed run (or anything else of that name) is never opened, written or removed.
// Its name is left in `temporary`.
HANDLE CreateTemporary(const wchar_t* target, size_t folderLength, wchar_t* temporary, size_t capacity) {
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        const uint64_t bits = RandomNameBits();
        std::swprintf(temporary, capacity, L"%.*ls.report-%08lx%08lx.tmp", static_cast<int>(folderLength), target,
                      static_cast<unsigned long>(bits >> 32), static_cast<unsigned long>(bits & 0xFFFFFFFFu));
        HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
    return INVALID_HANDLE_VALUE;
}

}  // namespace

bool ReplaceFileWhole(const char16_t* path, const char* bytes, int32_t size) {
    if (path == nullptr || path[0] == 0) return false;
    const wchar_t* target = reinterpret_cast<const wchar_t*>(path);
    if (!IsDiskFileOrAbsent(target)) return false;
    // A short name of its own in the same folder, so the move stays within one volume.
    const size_t length = std::wcslen(target);
    size_t folderLength = length;
    while (folderLength > 0 && target[folderLength - 1] != L'\\' && target[folderLength - 1] != L'/') --folderLength;
    wchar_t temporary[600];
    if (folderLength + 40 > 600) return false;
    HANDLE file = CreateTemporary(target, folderLength, temporary, 600);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool whole = WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) != 0 &&
                 written == static_cast<DWORD>(size) && FlushFileBuffers(file) != 0;
    whole = CloseHandle(file) != 0 && whole;
    if (whole && MoveFileExW(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) return true;
    DeleteFileW(temporary);
    return false;
}

}  // namespace ovra
