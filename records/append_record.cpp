#include "records/append_record.h"

#include <cstring>
#include <map>
#include <string_view>

#include "io/log_file.h"
#include "records/csv_rows.h"
#include "records/journal.h"
#include "text/text.h"
#include "text/utf.h"

namespace ovra {
namespace {

constexpr int32_t LineBytesCapacity = 4096;  // 4095 bytes of UTF-8 and the terminator
constexpr char ByteOrderMark[] = "\xEF\xBB\xBF";
constexpr int32_t MarkSize = sizeof ByteOrderMark - 1;

// Everything one save may write: mark, header, a line end and the record, each line at most 4095 bytes.
struct SaveBytes {
    char bytes[MarkSize + 2 * LineBytesCapacity + 2];
    int32_t size;
};

bool AddUtf8(SaveBytes& out, const char16_t* line) {
    const int32_t size = Utf8FromUtf16(line, out.bytes + out.size, LineBytesCapacity);
    if (size < 0) return false;
    out.size += size;
    return true;
}

void AddBytes(SaveBytes& out, const char* bytes, int32_t size) {
    std::memcpy(out.bytes + out.size, bytes, static_cast<size_t>(size));
    out.size += size;
}

bool SameIdentity(const FileIdentity& a, const FileIdentity& b) { return a.volume == b.volume && a.index == b.index; }

// A name beside the log: the log's path with `suffix`, or `prefix` before its file name and `suffix` after.
bool SidePath(const char16_t* log, const char16_t* prefix, const char16_t* suffix, char16_t* out) {
    const int32_t length = TextLength(log);
    int32_t name = length;
    while (name > 0 && log[name - 1] != u'/' && log[name - 1] != RecordPathSeparator) --name;
    out[0] = 0;
    AppendUnits(out, SidePathCapacity, log, name);
    AppendText(out, SidePathCapacity, prefix);
    AppendText(out, SidePathCapacity, log + name);
    AppendText(out, SidePathCapacity, suffix);
    return TextLength(out) == length + TextLength(prefix) + TextLength(suffix);
}

enum class SaveResult { Saved, NotWritten, Busy, Foreign, NotRegular, JournalUnusable };

SaveResult Failure(const LogFile& file) { return file.busy ? SaveResult::Busy : SaveResult::NotWritten; }

SaveResult Culprit(SaveReport& report, const char16_t* path, EntryKind kind, SaveResult result) {
    CopyText(report.culprit, SidePathCapacity, path);
    report.culpritKind = kind;
    return result;
}

// The header's cells as the first line of `head` holds them: the mark and a CR before the LF are optional, and
// cells may be quoted where this program would not quote them, as spreadsheets write them back.
bool IsOurHeader(std::string_view head, const SaveBytes& header) {
    if (head.substr(0, MarkSize) == ByteOrderMark) head.remove_prefix(MarkSize);
    const size_t end = head.find('\n');
    if (end == std::string_view::npos) return false;
    const std::string_view line = head.substr(0, end + 1);
    const std::string_view ours(header.bytes, static_cast<size_t>(header.size));
    if (line == ours || (line.size() + 1 == ours.size() && ours.substr(0, end) == line.substr(0, end))) return true;
    const std::vector<CsvRow> rows = CsvRows(line);
    return rows.size() == 1 && rows == CsvRows(ours);
}

// Which leading bytes the log holds: this program's header, nothing, only the mark, or something else.
enum class LogHead { Ours, Empty, MarkOnly, Foreign, Unread };

LogHead ReadHead(LogFile& file, int64_t size, const SaveBytes& header) {
    if (size == 0) return LogHead::Empty;
    char head[MarkSize + LineBytesCapacity + 1];
    const int32_t count = static_cast<int32_t>(size < int64_t{sizeof head} ? size : int64_t{sizeof head});
    if (!ReadLog(file, 0, head, count)) return LogHead::Unread;
    if (count == MarkSize && std::memcmp(head, ByteOrderMark, MarkSize) == 0) return LogHead::MarkOnly;
    return IsOurHeader(std::string_view(head, static_cast<size_t>(count)), header) ? LogHead::Ours : LogHead::Foreign;
}

constexpr int32_t JournalCapacity = JournalHeadCapacity + sizeof(SaveBytes::bytes);

// Cuts back the torn append a journal describes, and nothing else; then the journal goes. A journal that
// cannot be read, or removed, stays and stops the save: its repair must not be lost.
SaveResult ReplayJournal(LogFile& file, const char16_t* journal, const SaveBytes& header, SaveReport& report) {
    char text[JournalCapacity];
    int32_t size = 0;
    EntryKind kind = EntryKind::Unknown;
    JournalRecord record{};
    switch (ReadSideFile(journal, text, JournalCapacity, size, kind)) {
        case SideRead::Absent:
            return SaveResult::Saved;
        case SideRead::NotRegular:
            return Culprit(report, journal, kind, SaveResult::NotRegular);
        case SideRead::Failed:
            return Culprit(report, journal, kind, SaveResult::JournalUnusable);
        case SideRead::TooLarge:
            break;  // not one this program wrote
        case SideRead::Read: {
            if (!ParseJournal(text, size, record)) break;
            FileIdentity identity{};
            int64_t now = 0;
            if (!LogIdentity(file, identity) || !LogFileSize(file, now)) return Failure(file);
            if (!SameIdentity(identity, record.log) || now <= record.before || now - record.before >= record.size)
                break;
            char tail[sizeof(SaveBytes::bytes)];
            const int32_t tailSize = static_cast<int32_t>(now - record.before);
            if (!ReadLog(file, record.before, tail, tailSize)) return Failure(file);
            if (!TornAppendOf(record, tail, tailSize)) break;
            const LogHead head = record.before > 0 ? ReadHead(file, record.before, header) : LogHead::Ours;
            if (head == LogHead::Unread) return Failure(file);
            if (head == LogHead::Ours && !(TruncateLog(file, record.before) && SyncLog(file))) return Failure(file);
            break;
        }
    }
    if (!RemoveJournal(journal)) return Culprit(report, journal, EntryKind::Regular, SaveResult::JournalUnusable);
    return SaveResult::Saved;
}

// "user@host" from a spreadsheet's lock file: ",<user>,<host>,<time>,<profile>;", a full name possibly first.
void LockOwner(const char* text, int32_t size, char16_t* out) {
    const std::vector<CsvRow> rows = CsvRows(std::string_view(text, static_cast<size_t>(size)));
    out[0] = 0;
    if (rows.empty() || rows[0].size() < 3) return;
    const CsvRow& cells = rows[0];
    std::string owner = (cells[1].empty() ? cells[0] : cells[1]) + "@" + cells[2];
    for (char& c : owner) {
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    }
    Utf16FromUtf8(owner.c_str(), static_cast<int32_t>(owner.size()), out, LockOwnerCapacity);
}

// While a spreadsheet has the log open it keeps ".~lock.<name>#" beside it; records appended meanwhile would be
// lost when it saves its copy over the log.
bool HeldBySpreadsheet(const char16_t* path, SaveReport& report) {
    char16_t lock[SidePathCapacity];
    if (!SidePath(path, u".~lock.", u"#", lock)) return false;
    char text[512];
    int32_t size = 0;
    EntryKind kind = EntryKind::Unknown;
    const SideRead read = ReadSideFile(lock, text, sizeof text, size, kind);
    if (read == SideRead::Absent || kind == EntryKind::Absent || kind == EntryKind::Unknown) return false;
    Culprit(report, lock, kind, SaveResult::Busy);
    if (read == SideRead::Read) LockOwner(text, size, report.lockOwner);
    return true;
}

// The records of the session that the log no longer holds, by their cells (a spreadsheet writes them back
// with other line ends and quotes).
std::vector<size_t> MissingRecords(LogFile& file, int64_t size, const SavedRecords& session) {
    std::string text(static_cast<size_t>(size), '\0');
    std::vector<size_t> missing;
    constexpr int64_t Chunk = int64_t{1} << 20;
    for (int64_t at = 0; at < size; at += Chunk) {
        if (!ReadLog(file, at, text.data() + at, static_cast<int32_t>(size - at < Chunk ? size - at : Chunk))) {
            text.clear();  // nothing of it can be told held
            break;
        }
    }
    if (std::string_view(text).substr(0, MarkSize) == ByteOrderMark) text.erase(0, MarkSize);
    std::map<CsvRow, int> held;
    for (CsvRow& row : CsvRows(text)) ++held[ComparableRow(std::move(row))];
    for (size_t i = 0; i < session.records.size(); ++i) {
        const std::vector<CsvRow> rows = CsvRows(session.records[i]);
        const auto found = rows.size() == 1 ? held.find(ComparableRow(rows[0])) : held.end();
        if (found == held.end() || found->second == 0)
            missing.push_back(i);
        else
            --found->second;
    }
    return missing;
}

// What a save learns about its log for the session: which file it is, and which remembered records it lacks.
struct LogSeen {
    FileIdentity identity;
    bool replaced;  // not the file the session saved into last
    std::vector<size_t> missing;
};

void AllMissing(const SavedRecords* session, LogSeen& seen) {
    if (session == nullptr) return;
    seen.replaced = true;
    for (size_t i = 0; i < session->records.size(); ++i) seen.missing.push_back(i);
}

// Under the lock: the record goes after whatever the file holds, journaled, and when anything fails the file is
// cut back to the size it had, so no part of a failed record stays.
SaveResult AppendUnderLock(LogFile& file, const char16_t* path, const Tool& tool, const SaveBytes& record,
                           SaveReport& report, const SavedRecords* session, LogSeen& seen) {
    char16_t journal[SidePathCapacity];
    if (!SidePath(path, u"", u".journal", journal)) return SaveResult::NotWritten;
    char16_t headerLine[RecordLineCapacity];
    BuildHeaderLine(tool, headerLine, RecordLineCapacity);
    SaveBytes header{{}, 0};
    if (!AddUtf8(header, headerLine)) return SaveResult::NotWritten;
    // The journal is trusted only for this program's log: a foreign file is never cut.
    const SaveResult replayed = ReplayJournal(file, journal, header, report);
    int64_t size = 0;
    if (replayed != SaveResult::Saved) return replayed;
    if (!LogFileSize(file, size) || !LogIdentity(file, seen.identity)) return Failure(file);

    SaveBytes out{{}, 0};
    char last = '\n';
    switch (ReadHead(file, size, header)) {
        case LogHead::Foreign:
            return SaveResult::Foreign;
        case LogHead::Unread:
            return Failure(file);
        case LogHead::Empty:
            AddBytes(out, ByteOrderMark, MarkSize);
            AddBytes(out, header.bytes, header.size);
            break;
        case LogHead::MarkOnly:
            AddBytes(out, header.bytes, header.size);
            break;
        case LogHead::Ours:
            if (!ReadLog(file, size - 1, &last, 1)) return Failure(file);
            if (last != '\n') AddBytes(out, "\r\n", 2);  // a line someone left unended stays a line of its own
            break;
    }
    if (session != nullptr && !SameIdentity(session->identity, seen.identity)) {
        seen.replaced = true;
        seen.missing = MissingRecords(file, size, *session);
    }
    AddBytes(out, record.bytes, record.size);

    char text[JournalCapacity];
    const int32_t length = BuildJournal({seen.identity, size, out.bytes, out.size}, text, JournalCapacity);
    if (length < 0 || !RemoveJournal(journal) || !CreateJournal(journal, text, length)) return SaveResult::NotWritten;
    // Whoever writes the header may be the first to use the name: it is made durable with the record.
    const bool saved = AppendToLog(file, out.bytes, out.size) && SyncLog(file) && (size > 0 || SyncLogName(file, path));
    if (saved) {
        RemoveJournal(journal);
        return SaveResult::Saved;
    }
    // Left in place when the log cannot be put back: the next appender finishes the job.
    if (TruncateLog(file, size) && SyncLog(file)) RemoveJournal(journal);
    return Failure(file);
}

SaveResult SaveInto(const char16_t* path, const Tool& tool, const SaveBytes& record, LogDeadline deadline,
                    SaveReport& report, const SavedRecords* session, LogSeen& seen) {
    if (HeldBySpreadsheet(path, report)) return SaveResult::Busy;
    for (;;) {
        LogFile file{-1, false};
        LogOpen opened = OpenLockedLog(path, deadline, file);
        if (opened == LogOpen::Missing) {
            SaveBytes whole{{}, 0};
            char16_t header[RecordLineCapacity];
            BuildHeaderLine(tool, header, RecordLineCapacity);
            AddBytes(whole, ByteOrderMark, MarkSize);
            if (!AddUtf8(whole, header)) return SaveResult::NotWritten;
            AddBytes(whole, record.bytes, record.size);
            const LogCreation creation = CreateLogFile(path, whole.bytes, whole.size, seen.identity);
            if (creation == LogCreation::Created) {
                AllMissing(session, seen);
                return SaveResult::Saved;
            }
            if (creation == LogCreation::Failed) return SaveResult::NotWritten;
            opened = creation == LogCreation::Exists ? LogOpen::Taken : CreateLockedLog(path, deadline, file);
        }
        switch (opened) {
            case LogOpen::Opened:
            case LogOpen::Created: {
                if (opened == LogOpen::Created) AllMissing(session, seen);
                const SaveResult result = AppendUnderLock(file, path, tool, record, report,
                                                          opened == LogOpen::Created ? nullptr : session, seen);
                // A failed save leaves no new file: a log made here and still empty goes again.
                int64_t size = -1;
                if (result != SaveResult::Saved && opened == LogOpen::Created && LogFileSize(file, size) && size == 0)
                    RemoveLogName(path);
                CloseLog(file);
                return result;
            }
            case LogOpen::Missing:
            case LogOpen::Taken:
                if (std::chrono::steady_clock::now() >= deadline) return SaveResult::Busy;
                break;  // the name came or went meanwhile: look again
            case LogOpen::Busy:
                return SaveResult::Busy;
            case LogOpen::NotRegular:
                return Culprit(report, path, KindOfEntry(path), SaveResult::NotRegular);
            case LogOpen::Failed:
                return SaveResult::NotWritten;
        }
    }
}

SaveError ErrorOf(SaveResult result) {
    switch (result) {
        case SaveResult::Saved:
            return SaveError::None;
        case SaveResult::Busy:
            return SaveError::LogBusy;
        case SaveResult::NotRegular:
            return SaveError::NotRegular;
        case SaveResult::JournalUnusable:
            return SaveError::JournalUnusable;
        case SaveResult::NotWritten:
        case SaveResult::Foreign:
            break;
    }
    return SaveError::NotWritten;
}

// The session's records that its log lacks, when another file stands under its name (or none does).
std::vector<size_t> MissingFromItsLog(const SavedRecords& session, LogDeadline deadline) {
    LogFile file{-1, false};
    LogSeen seen{};
    switch (OpenLockedLog(session.log.c_str(), deadline, file)) {
        case LogOpen::Missing:
            AllMissing(&session, seen);
            break;
        case LogOpen::Opened: {
            int64_t size = 0;
            if (LogIdentity(file, seen.identity) && LogFileSize(file, size) &&
                !SameIdentity(seen.identity, session.identity))
                seen.missing = MissingRecords(file, size, session);
            CloseLog(file);
            break;
        }
        default:
            break;  // not to be read now: nothing can be told missing
    }
    return seen.missing;
}

// The records a replaced log lacks go, whole and in their order, to the restored log beside it, saved as any
// record is. True when every one is on the device.
bool Restore(const char16_t* folder, const Tool& tool, const SavedRecords& session, const std::vector<size_t>& missing,
             SaveReport& report) {
    if (!RecordFilePath(folder, tool.id, report.restoredPath, RecordPathCapacity, RestoredLogNumber)) return false;
    const LogDeadline deadline = std::chrono::steady_clock::now() + LockWaitLimit;
    for (const size_t i : missing) {
        SaveBytes record{{}, 0};
        AddBytes(record, session.records[i].data(), static_cast<int32_t>(session.records[i].size()));
        SaveReport ignored{};
        LogSeen seen{};
        if (SaveInto(report.restoredPath, tool, record, deadline, ignored, nullptr, seen) != SaveResult::Saved)
            return false;
    }
    return true;
}

// The session goes on with the log just written: what it still holds, and the new record. Records that could not
// be restored stay with the old identity, so the next save looks for them again.
void Remember(SavedRecords& session, const char16_t* path, const LogSeen& seen, bool restored, const SaveBytes& record) {
    std::vector<std::string> kept;
    size_t next = 0;
    for (size_t i = 0; i < session.records.size(); ++i) {
        const bool lost = next < seen.missing.size() && seen.missing[next] == i;
        if (lost) ++next;
        if (!lost || !restored) kept.push_back(std::move(session.records[i]));
    }
    if (!seen.replaced || restored || seen.missing.empty()) session.identity = seen.identity;
    session.records = std::move(kept);
    session.records.emplace_back(record.bytes, static_cast<size_t>(record.size));
    session.log = path;
}

}  // namespace

SaveError AppendRecordLine(const char16_t* folder, const Tool& tool, const char16_t* line, SaveReport& report,
                           SavedRecords* session) {
    report.path[0] = 0;
    report.culprit[0] = 0;
    report.culpritKind = EntryKind::Unknown;
    report.lockOwner[0] = 0;
    report.restoredCount = 0;
    report.restoredSaved = false;
    report.restoredPath[0] = 0;
    if (folder == nullptr || folder[0] == 0) return SaveError::NotWritten;
    SaveBytes record{{}, 0};
    if (!AddUtf8(record, line)) {
        RecordFilePath(folder, tool.id, report.path, RecordPathCapacity);  // the log it would have gone to
        return SaveError::NotWritten;
    }
    CreateRecordsFolder(folder);  // when it fails, so does the open below
    const LogDeadline deadline = std::chrono::steady_clock::now() + LockWaitLimit;
    for (int32_t number = 1; number <= MaxLogNumber; ++number) {
        if (!RecordFilePath(folder, tool.id, report.path, RecordPathCapacity, number)) return SaveError::NotWritten;
        const bool sameLog = session != nullptr && session->log == report.path;
        LogSeen seen{};
        const SaveResult result =
            SaveInto(report.path, tool, record, deadline, report, sameLog ? session : nullptr, seen);
        if (result == SaveResult::Foreign) continue;  // not this program's columns: the next number
        if (result != SaveResult::Saved || session == nullptr) return ErrorOf(result);
        // The record went elsewhere than the session's log (a foreign file took that name): that log is looked
        // at on its own.
        if (!sameLog && !session->log.empty()) seen.missing = MissingFromItsLog(*session, deadline);
        bool restored = true;
        if (!seen.missing.empty()) {
            report.restoredCount = static_cast<int32_t>(seen.missing.size());
            restored = report.restoredSaved = Restore(folder, tool, *session, seen.missing, report);
        }
        if (sameLog || session->log.empty()) {
            Remember(*session, report.path, seen, restored, record);
        } else if (restored) {
            *session = SavedRecords{report.path, seen.identity, {std::string(record.bytes, static_cast<size_t>(record.size))}};
        }
        return SaveError::None;
    }
    return SaveError::NotWritten;
}

}  // namespace ovra
