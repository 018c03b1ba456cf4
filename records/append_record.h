#pragma once
// Appending to the per-tool CSV log: UTF-8, byte-order mark and header written once, by whoever creates the file
// or finds it empty; one whole record per save, on the device before the save counts.
//
// A save killed in the middle of its record must not garble the records after it: a torn record ending inside
// a quoted cell would swallow every later line. Each append is therefore journaled. Under the log's lock, the
// appender first creates and syncs a journal beside the log naming exactly what it may cut: the log's identity,
// its size before and the bytes about to be appended; then it appends and syncs, then removes the journal. The
// next appender, under the same lock, cuts the log back only when it is the same file, longer than the size
// before, and what follows that size is a proper beginning of the journaled bytes: a torn record, never
// reported saved. Anything else (a hand edit, a log moved or replaced, a journal it cannot read as its own)
// leaves the log exactly as it is. (Reading back from the end to the last record boundary would need to know
// whether the tail starts inside quotes, which a bounded read cannot tell for certain.)
//
// Nothing beside the log is followed or waited on: a link, folder, pipe or device under the log's or the
// journal's name fails the save at once, naming it. A new log appears whole: written into a file with no name
// and then linked, or, where the file system has no hard links, created empty under the lock, which every
// appender takes (flock and an OFD lock over the whole file, so other programs' fcntl and lockf locks count)
// before it reads or writes. A lock held by another program is waited for three seconds at most; a
// spreadsheet's lock file beside the log (".~lock.T146.csv#") is a holder that is not waited for. A log whose
// first line is not this program's header cells (with or without the mark, CR LF or LF) gets no record: the
// record goes to the next T<id>-<n>.csv that is this program's or does not exist.
//
// A window remembers the log it saved into and the records it saved there. When a later save finds that log
// replaced by another file (a spreadsheet saved over it, or it was moved away) and some of those records
// missing, they are not put back into the log, whose new content may be deliberate, but appended to
// T<id>-restored.csv beside it.
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "io/log_file.h"
#include "records/record_line.h"
#include "records/records_path.h"
#include "tool/tool.h"

namespace ovra {

constexpr auto LockWaitLimit = std::chrono::seconds(3);

enum class SaveError {
    None,
    NotWritten,
    LogBusy,          // another program holds the log; `culprit` names a spreadsheet's lock file, if that is it
    NotRegular,       // `culprit` is a link, folder, pipe or device where the log or its journal should be
    JournalUnusable,  // `culprit`, the journal, cannot be read or removed: it is kept, and nothing is written
};

constexpr int32_t SidePathCapacity = RecordPathCapacity + 16;  // a log path and ".journal" or ".~lock." and "#"
constexpr int32_t LockOwnerCapacity = 128;

// What a save did, or why it did not.
struct SaveReport {
    char16_t path[RecordPathCapacity];  // the log written, or the one that failed
    char16_t culprit[SidePathCapacity];
    EntryKind culpritKind;
    char16_t lockOwner[LockOwnerCapacity];  // "user@host" out of a spreadsheet's lock file, or empty
    int32_t restoredCount;                   // records of the session found missing, appended to `restoredPath`
    bool restoredSaved;
    char16_t restoredPath[RecordPathCapacity];
};

// The log one window saved into, and the records (UTF-8, as written) it saved there.
struct SavedRecords {
    std::u16string log;
    FileIdentity identity{};
    std::vector<std::string> records;
};

// Creates the folder chain, then either makes the log appear with its mark, header and the line, or appends the
// line to the existing log under its lock (an empty log, or one holding only the mark, first gets what it
// lacks; a log that does not end a line gets CR LF first). None only when the line is whole on the device;
// otherwise every file is left as it was found. With `session`, records it remembers that a replaced log lacks
// are appended to the restored log, and the saved line is remembered.
SaveError AppendRecordLine(const char16_t* folder, const Tool& tool, const char16_t* line, SaveReport& report,
                           SavedRecords* session = nullptr);

}  // namespace ovra
