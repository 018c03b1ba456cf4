#pragma once
// Where the per-tool logs live: the records folder and the names of the logs in it.
#include <cstdint>

namespace ovra {

constexpr int32_t RecordPathCapacity = 520;
constexpr int32_t MaxLogNumber = 99;      // T146.csv, then T146-2.csv up to T146-99.csv
constexpr int32_t RestoredLogNumber = 0;  // T146-restored.csv

#ifdef _WIN32
constexpr char16_t RecordPathSeparator = u'\\';
#else
constexpr char16_t RecordPathSeparator = u'/';
#endif

// `folder` followed by the file name T%03d.csv (number 1), T%03d-<number>.csv or T%03d-restored.csv, joined with
// the platform's separator. False when the path does not fit: a cut path would name another file.
bool RecordFilePath(const char16_t* folder, int32_t toolId, char16_t* out, int32_t capacity, int32_t number = 1);

// The records folder below the local data folder of a POSIX desktop: $XDG_DATA_HOME when it is an absolute
// path, else $HOME/.local/share, and "/" standing for a HOME that is unset, empty or relative, as Qt's home
// path does. Null arguments are unset variables. False when the folder does not fit.
bool RecordsFolderFromEnvironment(const char16_t* xdgDataHome, const char16_t* home, char16_t* out, int32_t capacity);

}  // namespace ovra
