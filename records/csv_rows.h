#pragma once
// Reading the log back as a spreadsheet reads it (RFC 4180): to know this program's header in a file another
// program rewrote, and to find the records a session saved in a log that was replaced.
#include <string>
#include <string_view>
#include <vector>

namespace ovra {

using CsvRow = std::vector<std::string>;

// The rows of `text` (UTF-8, no mark): cells split at commas outside quotes, rows at LF or CR LF outside quotes,
// a quoted cell's doubled quotes made one. A last line without its line end is a row too.
std::vector<CsvRow> CsvRows(std::string_view text);

// A row as it compares across programs that rewrite a log: CR dropped from every cell (line ends inside a
// cell become LF), trailing LFs of a cell dropped.
CsvRow ComparableRow(CsvRow row);

}  // namespace ovra
