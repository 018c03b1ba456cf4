#pragma once
// File primitives of an append-only log, one implementation per platform. Every appender holds the log's
// exclusive lock from the moment it measures the file until it closes it; a lock held by someone else is
// waited for only until a deadline. Every step says whether it reached the device, so a caller can put the
// file back the way it found it.
#include <chrono>
#include <cstdint>

namespace ovra {

using LogDeadline = std::chrono::steady_clock::time_point;

struct LogFile {
    intptr_t handle;  // a descriptor or a HANDLE; -1 when closed
    bool busy;        // a step failed because another program holds the file or a range of it
};

enum class LogOpen {
    Opened,      // the existing log, locked
    Created,     // a new empty log made by this call, locked
    Missing,     // no file of that name (any more): look again
    Taken,       // the name appeared meanwhile: open it instead
    Busy,        // another program holds the file past the deadline, or refuses to share it
    NotRegular,  // a link, folder, pipe or device stands under the name: never opened, followed or waited on
    Failed,
};

enum class LogCreation { Created, Exists, Unsupported, Failed };

// What stands under a name, the name itself looked at (a link is not followed).
enum class EntryKind { Absent, Regular, Link, Folder, Pipe, Device, Other, Unknown };
EntryKind KindOfEntry(const char16_t* path);

// Which file a log is, whatever its name: device and inode, or volume serial and file index.
struct FileIdentity {
    uint64_t volume, index;
};
bool LogIdentity(LogFile& file, FileIdentity& identity);

// Creates the folders of `folder` that are missing; on POSIX only their owner may enter those it makes.
// Folders that exist are left as they are.
bool CreateRecordsFolder(const char16_t* folder);

// Makes `path` appear holding exactly `bytes`, synced together with its folder entry, unless a file of that
// name exists already; `identity` receives the new file's. The bytes go into a file with no name first, so no
// one ever sees them in part, and nothing is left behind when the process dies. Unsupported where the file
// system (or platform) cannot do that; CreateLockedLog is then the way.
LogCreation CreateLogFile(const char16_t* path, const char* bytes, int32_t size, FileIdentity& identity);

// Opens the existing log and takes its exclusive lock, trying until `deadline`. The lock is kept only when
// the path still names the file locked: a log removed meanwhile gives Missing.
LogOpen OpenLockedLog(const char16_t* path, LogDeadline deadline, LogFile& file);
// Creates `path` empty, private to its owner, and takes its lock; Taken when the name exists.
LogOpen CreateLockedLog(const char16_t* path, LogDeadline deadline, LogFile& file);

bool LogFileSize(LogFile& file, int64_t& size);
// Reads exactly `size` bytes at `offset`.
bool ReadLog(LogFile& file, int64_t offset, char* bytes, int32_t size);
// Writes all `size` bytes at the end of the file, or returns false.
bool AppendToLog(LogFile& file, const char* bytes, int32_t size);
// Waits until what was written is on the device.
bool SyncLog(LogFile& file);
// Waits until the log's name, and the names of the folders above it, are on the device.
bool SyncLogName(LogFile& file, const char16_t* path);
bool TruncateLog(LogFile& file, int64_t size);
// Removes the name of a log this process created and still holds locked.
bool RemoveLogName(const char16_t* path);
// Also releases the lock.
void CloseLog(LogFile& file);

// Small files beside a log (its journal, a spreadsheet's lock file): read only when the name holds a regular
// file, without following a link or waiting on a pipe, and never more than `capacity` bytes.
enum class SideRead { Absent, Read, TooLarge, NotRegular, Failed };
SideRead ReadSideFile(const char16_t* path, char* bytes, int32_t capacity, int32_t& size, EntryKind& kind);

// The journal: created only where no entry of that name stands, private, synced with its name before the append
// it describes begins. Only ever touched under the log's lock.
bool CreateJournal(const char16_t* path, const char* bytes, int32_t size);
bool RemoveJournal(const char16_t* path);

}  // namespace ovra
