#pragma once
// The per-tool CSV log: UTF-8, byte-order mark and header written once, by whoever creates the file or finds it
// empty; one whole record per save, on the device before the save counts; CR LF lines, cells that need it
// quoted.
//
// A save killed in the middle of its record must not garble the records after it: a torn record ending inside
// a quoted cell would swallow every later line. Each append is therefore journaled. Under the log's lock, the
// appender first writes and syncs a journal beside the log ("append <size before> <size after>"), then appends
// and syncs the record, then removes the journal. The next appender, under the same lock, reads a journal it
// finds: a log that stopped between the two sizes holds a torn record, which was never reported saved, and is
// cut back to the size before. So a torn record is discarded, never completed, and the repair costs a read of
// a few bytes whatever the size of the log. (Reading back from the end to the last record boundary would need
// to know whether the tail starts inside quotes, which a bounded read cannot tell for certain.)
//
// A new log appears whole: written into a file with no name and then linked, or, where the file system has no
// hard links, created empty under the lock, which every appender takes before it reads or writes. A lock held
// by another program is waited for three seconds at most. A log whose first line is not this program's header
// gets no record: the record goes to the next T<id>-<n>.csv that is this program's or does not exist.
#include <chrono>
#include <cstdint>

#include "tool/tool.h"

namespace ovra {

struct LocalTime {
    int32_t year, month, day, hour, minute, second;
};

constexpr int32_t RecordPathCapacity = 520;
// Room for the longest record of the data model with every cell quoted; longer lines are cut.
constexpr int32_t RecordLineCapacity = 4096;
constexpr int32_t ReportCellLimit = 254;  // units of the report that reach the file
constexpr int32_t InputCellLimit = 126;   // units of "label=value" and of a header label

constexpr auto LockWaitLimit = std::chrono::seconds(3);
constexpr int32_t MaxLogNumber = 99;  // T146.csv, then T146-2.csv up to T146-99.csv

// `folder` followed by the file name T%03d.csv (number 1) or T%03d-<number>.csv, joined with the separator the
// folder already uses. False when the path does not fit: a cut path would name another file.
bool RecordFilePath(const char16_t* folder, int32_t toolId, char16_t* out, int32_t capacity, int32_t number = 1);

// The records folder below the local data folder of a POSIX desktop: $XDG_DATA_HOME when it is an absolute
// path, else $HOME/.local/share, and "/" standing for a HOME that is unset, empty or relative, as Qt's home
// path does. Null arguments are unset variables. False when the folder does not fit.
bool RecordsFolderFromEnvironment(const char16_t* xdgDataHome, const char16_t* home, char16_t* out, int32_t capacity);

void BuildHeaderLine(const Tool& tool, char16_t* out, int32_t capacity);
void BuildRecordLine(const Tool& tool, const LocalTime& time, const double* inputValues, const char16_t* report,
                     char16_t* out, int32_t capacity);

enum class SaveError {
    None,
    NotWritten,
    LogBusy,  // another program holds the log
};

// Creates the folder chain, then either makes the log appear with its mark, header and the line, or appends the
// line to the existing log under its lock (an empty log, or one holding only the mark, first gets what it
// lacks; a log that does not end a line gets CR LF first). None only when the line is whole on the device;
// otherwise every file is left as it was found. `path` receives the log written, or the one that failed.
SaveError AppendRecordLine(const char16_t* folder, const Tool& tool, const char16_t* line, char16_t* path,
                           int32_t capacity);

}  // namespace ovra
