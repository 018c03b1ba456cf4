#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <filesystem>
#include <string_view>
#include <system_error>

#include "io/log_file.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 paths are passed to the platform as wchar_t");

namespace ovra {
namespace {

// Windows locks are mandatory, so the lock covers one byte far past any end of file: appenders exclude one
// another while readers of the records are never refused.
constexpr DWORD LockOffsetHigh = 0x7FFFFFFF;
constexpr DWORD LockOffsetLow = 0xFFFFFFFE;
constexpr DWORD LockRetryMilliseconds = 10;
constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE Handle(const LogFile& file) { return reinterpret_cast<HANDLE>(file.handle); }

const wchar_t* WidePath(const char16_t* path) { return reinterpret_cast<const wchar_t*>(path); }

OVERLAPPED At(DWORD low, DWORD high) {
    OVERLAPPED at{};
    at.Offset = low;
    at.OffsetHigh = high;
    return at;
}

OVERLAPPED AtOffset(int64_t offset) {
    return At(static_cast<DWORD>(offset & 0xFFFFFFFF), static_cast<DWORD>(offset >> 32));
}

// A spreadsheet that opened the file without sharing, or a program holding a range of it.
bool HeldByAnother(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }

bool Step(LogFile& file, bool done) {
    if (!done && HeldByAnother(GetLastError())) file.busy = true;
    return done;
}

bool SameFile(HANDLE held, const char16_t* path) {
    HANDLE named = CreateFileW(WidePath(path), 0, ShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (named == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION a{};
    BY_HANDLE_FILE_INFORMATION b{};
    const bool same = GetFileInformationByHandle(held, &a) != 0 && GetFileInformationByHandle(named, &b) != 0 &&
                      a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
                      a.nFileIndexLow == b.nFileIndexLow;
    CloseHandle(named);
    return same;
}

// Polls for the lock until the deadline: a blocking wait would freeze the window for as long as another
// program keeps the file locked.
LogOpen Locked(HANDLE handle, const char16_t* path, LogDeadline deadline, LogFile& file, LogOpen success) {
    for (;;) {
        OVERLAPPED at = At(LockOffsetLow, LockOffsetHigh);
        if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) != 0) break;
        const DWORD error = GetLastError();
        if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) {
            CloseHandle(handle);
            return LogOpen::Failed;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            CloseHandle(handle);
            return LogOpen::Busy;
        }
        Sleep(LockRetryMilliseconds);
    }
    // The name may have been taken away while we waited (a failed first save removes its log).
    if (!SameFile(handle, path)) {
        CloseHandle(handle);
        return LogOpen::Missing;
    }
    file.handle = reinterpret_cast<intptr_t>(handle);
    return success;
}

EntryKind KindOfAttributes(DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return EntryKind::Link;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return EntryKind::Folder;
    if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) return EntryKind::Device;
    return EntryKind::Regular;
}

// A handle is a plain file on a disk: not a pipe, device or console, not a folder or a reparse point.
EntryKind KindOfHandle(HANDLE handle) {
    const DWORD type = GetFileType(handle);
    if (type == FILE_TYPE_PIPE) return EntryKind::Pipe;
    if (type != FILE_TYPE_DISK) return EntryKind::Device;
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileInformationByHandle(handle, &information) == 0) return EntryKind::Unknown;
    return KindOfAttributes(information.dwFileAttributes);
}

// Opens a name only when it holds a regular file; a link is never followed (the reparse point itself would be
// opened, and is refused).
HANDLE OpenRegular(const char16_t* path, DWORD access, DWORD share, DWORD disposition, EntryKind& kind) {
    kind = disposition == OPEN_EXISTING ? KindOfEntry(path) : EntryKind::Absent;
    if (disposition == OPEN_EXISTING && kind != EntryKind::Regular) return INVALID_HANDLE_VALUE;
    HANDLE handle = CreateFileW(WidePath(path), access, share, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        kind = disposition == OPEN_EXISTING ? EntryKind::Regular : kind;
        return handle;
    }
    kind = KindOfHandle(handle);
    if (kind != EntryKind::Regular) {
        CloseHandle(handle);
        SetLastError(ERROR_INVALID_FUNCTION);
        return INVALID_HANDLE_VALUE;
    }
    return handle;
}

// Opens (OPEN_EXISTING) or makes (CREATE_NEW) the log for reading and writing, then locks it. The name being
// absent, or already taken, is told apart from another program holding the file.
LogOpen OpenAndLock(const char16_t* path, DWORD disposition, LogOpen success, LogDeadline deadline, LogFile& file) {
    file = LogFile{-1, false};
    if (path == nullptr || path[0] == 0) return LogOpen::Failed;
    EntryKind kind = EntryKind::Unknown;
    HANDLE handle = OpenRegular(path, GENERIC_READ | GENERIC_WRITE, ShareAll, disposition, kind);
    if (handle == INVALID_HANDLE_VALUE) {
        if (kind == EntryKind::Absent && disposition == OPEN_EXISTING) return LogOpen::Missing;
        if (kind != EntryKind::Regular && kind != EntryKind::Absent && kind != EntryKind::Unknown)
            return LogOpen::NotRegular;
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) return LogOpen::Missing;
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return LogOpen::Taken;
        return HeldByAnother(error) ? LogOpen::Busy : LogOpen::Failed;
    }
    return Locked(handle, path, deadline, file, success);
}

}  // namespace

bool CreateRecordsFolder(const char16_t* folder) {
    if (folder == nullptr || folder[0] == 0) return false;
    const std::filesystem::path path(std::u16string_view(folder, std::char_traits<char16_t>::length(folder)));
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return std::filesystem::is_directory(path, error);
}

// No file without a name here: a new log is created empty under its lock (CreateLockedLog).
LogCreation CreateLogFile(const char16_t*, const char*, int32_t, FileIdentity&) { return LogCreation::Unsupported; }

LogOpen OpenLockedLog(const char16_t* path, LogDeadline deadline, LogFile& file) {
    return OpenAndLock(path, OPEN_EXISTING, LogOpen::Opened, deadline, file);
}

LogOpen CreateLockedLog(const char16_t* path, LogDeadline deadline, LogFile& file) {
    return OpenAndLock(path, CREATE_NEW, LogOpen::Created, deadline, file);
}

bool LogFileSize(LogFile& file, int64_t& size) {
    LARGE_INTEGER length{};
    if (GetFileSizeEx(Handle(file), &length) == 0) return false;
    size = length.QuadPart;
    return true;
}

bool ReadLog(LogFile& file, int64_t offset, char* bytes, int32_t size) {
    while (size > 0) {
        OVERLAPPED at = AtOffset(offset);
        DWORD read = 0;
        if (!Step(file, ReadFile(Handle(file), bytes, static_cast<DWORD>(size), &read, &at) != 0) || read == 0)
            return false;
        bytes += read;
        offset += read;
        size -= static_cast<int32_t>(read);
    }
    return true;
}

bool AppendToLog(LogFile& file, const char* bytes, int32_t size) {
    // Both offsets at 0xFFFFFFFF write at the end of the file, as an append-only handle would; the handle keeps
    // write access so that a failed record can be cut off again.
    OVERLAPPED atEnd = At(0xFFFFFFFF, 0xFFFFFFFF);
    DWORD written = 0;
    return Step(file, WriteFile(Handle(file), bytes, static_cast<DWORD>(size), &written, &atEnd) != 0) &&
           written == static_cast<DWORD>(size);
}

bool SyncLog(LogFile& file) { return FlushFileBuffers(Handle(file)) != 0; }

// NTFS journals the new name with the file's metadata, which FlushFileBuffers writes out.
bool SyncLogName(LogFile& file, const char16_t*) { return SyncLog(file); }

bool TruncateLog(LogFile& file, int64_t size) {
    LARGE_INTEGER position{};
    position.QuadPart = size;
    return Step(file,
                SetFilePointerEx(Handle(file), position, nullptr, FILE_BEGIN) != 0 && SetEndOfFile(Handle(file)) != 0);
}

// The log is open with delete sharing: the name goes now, the file when the last handle closes.
bool RemoveLogName(const char16_t* path) { return DeleteFileW(WidePath(path)) != 0; }

void CloseLog(LogFile& file) {
    if (file.handle != -1) {
        OVERLAPPED at = At(LockOffsetLow, LockOffsetHigh);
        UnlockFileEx(Handle(file), 0, 1, 0, &at);
        CloseHandle(Handle(file));
    }
    file.handle = -1;
}

EntryKind KindOfEntry(const char16_t* path) {
    const DWORD attributes = GetFileAttributesW(WidePath(path));
    if (attributes != INVALID_FILE_ATTRIBUTES) return KindOfAttributes(attributes);
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? EntryKind::Absent : EntryKind::Unknown;
}

bool LogIdentity(LogFile& file, FileIdentity& identity) {
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileInformationByHandle(Handle(file), &information) == 0) return false;
    identity = {information.dwVolumeSerialNumber,
                (static_cast<uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
    return true;
}

SideRead ReadSideFile(const char16_t* path, char* bytes, int32_t capacity, int32_t& size, EntryKind& kind) {
    size = 0;
    HANDLE handle = OpenRegular(path, GENERIC_READ, ShareAll, OPEN_EXISTING, kind);
    if (handle == INVALID_HANDLE_VALUE) {
        if (kind == EntryKind::Absent) return SideRead::Absent;
        return kind == EntryKind::Regular || kind == EntryKind::Unknown ? SideRead::Failed : SideRead::NotRegular;
    }
    LARGE_INTEGER length{};
    SideRead result = SideRead::Read;
    if (GetFileSizeEx(handle, &length) == 0)
        result = SideRead::Failed;
    else if (length.QuadPart > capacity)
        result = SideRead::TooLarge;
    while (result == SideRead::Read && size < length.QuadPart) {
        DWORD read = 0;
        if (ReadFile(handle, bytes + size, static_cast<DWORD>(length.QuadPart - size), &read, nullptr) == 0 || read == 0)
            result = SideRead::Failed;
        size += static_cast<int32_t>(read);
    }
    CloseHandle(handle);
    return result;
}

bool CreateJournal(const char16_t* path, const char* bytes, int32_t size) {
    EntryKind kind = EntryKind::Unknown;
    HANDLE handle = OpenRegular(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW, kind);
    if (handle == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool whole = WriteFile(handle, bytes, static_cast<DWORD>(size), &written, nullptr) != 0 &&
                 written == static_cast<DWORD>(size) && FlushFileBuffers(handle) != 0;
    whole = CloseHandle(handle) != 0 && whole;
    if (!whole) DeleteFileW(WidePath(path));
    return whole;
}

bool RemoveJournal(const char16_t* path) {
    return DeleteFileW(WidePath(path)) != 0 || GetLastError() == ERROR_FILE_NOT_FOUND;
}

}  // namespace ovra
