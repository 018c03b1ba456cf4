#pragma once
// File primitives of an append-only log, one implementation per platform. Every appender holds the log's
// exclusive lock from the moment it measures the file until it closes it, and every step says whether it
// reached the device, so a caller can put the file back the way it found it.
#include <cstdint>

namespace ovra {

struct LogFile {
    intptr_t handle;  // a descriptor or a HANDLE; -1 when closed
};

enum class LogCreation { Created, Exists, Failed };

// Makes `path` appear holding exactly `bytes`, synced together with its folder entry, unless a file of that
// name exists already. The content is written to a private file first, so no one ever sees it in part.
LogCreation CreateLogFile(const char16_t* path, const char* bytes, int32_t size);

// Opens an existing log and waits for its exclusive lock.
bool OpenLockedLog(const char16_t* path, LogFile& file);
bool LogFileSize(const LogFile& file, int64_t& size);
bool ReadLogByte(const LogFile& file, int64_t offset, char& byte);
// Writes all `size` bytes at the end of the file, or returns false.
bool AppendToLog(const LogFile& file, const char* bytes, int32_t size);
// Waits until what was written is on the device.
bool SyncLog(const LogFile& file);
bool TruncateLog(const LogFile& file, int64_t size);
// Also releases the lock.
void CloseLog(LogFile& file);

}  // namespace ovra
