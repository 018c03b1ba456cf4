#pragma once
// The per-tool CSV log: UTF-8, byte-order mark and header written once, by whoever creates the file or finds it
// empty; one whole record per save, on the device before the save counts; CR LF lines, cells that need it
// quoted.
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

// `folder` followed by the file name T%03d.csv, joined with the separator the folder already uses. False when
// the path does not fit: a cut path would name another file.
bool RecordFilePath(const char16_t* folder, int32_t toolId, char16_t* out, int32_t capacity);

// The records folder below the local data folder of a POSIX desktop: $XDG_DATA_HOME when it is an absolute
// path, else $HOME/.local/share, and "/" standing for a HOME that is unset, empty or relative, as Qt's home
// path does. Null arguments are unset variables. False when the folder does not fit.
bool RecordsFolderFromEnvironment(const char16_t* xdgDataHome, const char16_t* home, char16_t* out,
                                  int32_t capacity);

void BuildHeaderLine(const Tool& tool, char16_t* out, int32_t capacity);
void BuildRecordLine(const Tool& tool, const LocalTime& time, const double* inputValues, const char16_t* report,
                     char16_t* out, int32_t capacity);

// Creates the folder chain, then either makes the file appear with its mark, header and the line, or appends the
// line to the existing file under its lock (an empty file first gets the mark and header; a file that does not
// end a line gets CR LF first). True only when the line is whole on the device; otherwise the file is left as
// it was found.
bool AppendRecordLine(const char16_t* folder, const char16_t* filePath, const Tool& tool, const char16_t* line);

}  // namespace ovra
