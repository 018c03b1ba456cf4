#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cwchar>

#include "io/log_file.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 paths are passed to the platform as wchar_t");

namespace ovra {
namespace {

// Windows locks are mandatory, so the lock covers one byte far past any end of file: appenders exclude one
// another while readers of the records are never refused.
constexpr DWORD LockOffsetHigh = 0x7FFFFFFF;
constexpr DWORD LockOffsetLow = 0xFFFFFFFE;

HANDLE Handle(const LogFile& file) { return reinterpret_cast<HANDLE>(file.handle); }

const wchar_t* WidePath(const char16_t* path) { return reinterpret_cast<const wchar_t*>(path); }

OVERLAPPED At(DWORD low, DWORD high) {
    OVERLAPPED at{};
    at.Offset = low;
    at.OffsetHigh = high;
    return at;
}

}  // namespace

LogCreation CreateLogFile(const char16_t* path, const char* bytes, int32_t size) {
    if (path == nullptr || path[0] == 0) return LogCreation::Failed;
    wchar_t privatePath[600];
    const int formatted = std::swprintf(privatePath, 600, L"%ls.%lu.%llu.new", WidePath(path), GetCurrentProcessId(),
                                        static_cast<unsigned long long>(GetTickCount64()));
    if (formatted < 0) return LogCreation::Failed;
    HANDLE file = CreateFileW(privatePath, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return LogCreation::Failed;
    DWORD written = 0;
    bool whole = WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) != 0 &&
                 written == static_cast<DWORD>(size) && FlushFileBuffers(file) != 0;
    whole = CloseHandle(file) != 0 && whole;
    // Without MOVEFILE_REPLACE_EXISTING the move fails when the name exists: one creator wins. Write-through
    // returns only when the new name is on the device.
    if (whole && MoveFileExW(privatePath, WidePath(path), MOVEFILE_WRITE_THROUGH) != 0) return LogCreation::Created;
    const DWORD error = GetLastError();
    DeleteFileW(privatePath);
    if (!whole) return LogCreation::Failed;
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? LogCreation::Exists : LogCreation::Failed;
}

bool OpenLockedLog(const char16_t* path, LogFile& file) {
    file.handle = -1;
    if (path == nullptr || path[0] == 0) return false;
    HANDLE handle = CreateFileW(WidePath(path), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    OVERLAPPED at = At(LockOffsetLow, LockOffsetHigh);
    if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at) == 0) {
        CloseHandle(handle);
        return false;
    }
    file.handle = reinterpret_cast<intptr_t>(handle);
    return true;
}

bool LogFileSize(const LogFile& file, int64_t& size) {
    LARGE_INTEGER length{};
    if (GetFileSizeEx(Handle(file), &length) == 0) return false;
    size = length.QuadPart;
    return true;
}

bool ReadLogByte(const LogFile& file, int64_t offset, char& byte) {
    OVERLAPPED at = At(static_cast<DWORD>(offset & 0xFFFFFFFF), static_cast<DWORD>(offset >> 32));
    DWORD read = 0;
    return ReadFile(Handle(file), &byte, 1, &read, &at) != 0 && read == 1;
}

bool AppendToLog(const LogFile& file, const char* bytes, int32_t size) {
    // Both offsets at 0xFFFFFFFF write at the end of the file, as an append-only handle would; the handle keeps
    // write access so that a failed record can be cut off again.
    OVERLAPPED atEnd = At(0xFFFFFFFF, 0xFFFFFFFF);
    DWORD written = 0;
    return WriteFile(Handle(file), bytes, static_cast<DWORD>(size), &written, &atEnd) != 0 &&
           written == static_cast<DWORD>(size);
}

bool SyncLog(const LogFile& file) { return FlushFileBuffers(Handle(file)) != 0; }

bool TruncateLog(const LogFile& file, int64_t size) {
    LARGE_INTEGER position{};
    position.QuadPart = size;
    return SetFilePointerEx(Handle(file), position, nullptr, FILE_BEGIN) != 0 && SetEndOfFile(Handle(file)) != 0;
}

void CloseLog(LogFile& file) {
    if (file.handle != -1) {
        OVERLAPPED at = At(LockOffsetLow, LockOffsetHigh);
        UnlockFileEx(Handle(file), 0, 1, 0, &at);
        CloseHandle(Handle(file));
    }
    file.handle = -1;
}

}  // namespace ovra
