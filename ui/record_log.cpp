#include "ui/record_log.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "io/log_file.h"
#include "text/format.h"
#include "text/text.h"
#include "text/utf.h"

namespace ovra {
namespace {

constexpr int32_t LineBytesCapacity = 4096;  // 4095 bytes of UTF-8 and the terminator
constexpr char ByteOrderMark[] = "\xEF\xBB\xBF";

bool NeedsQuotes(const char16_t* cell) {
    for (; *cell != 0; ++cell) {
        if (*cell == u',' || *cell == u'"' || *cell == u'\r' || *cell == u'\n') return true;
    }
    return false;
}

// Appends ",cell" with the cell cut to `limit` units first, so quoting never changes what is kept.
void AppendCell(char16_t* line, int32_t capacity, const char16_t* cell, int32_t limit) {
    char16_t cut[RecordLineCapacity];
    CopyText(cut, limit + 1 < RecordLineCapacity ? limit + 1 : RecordLineCapacity, cell);
    AppendText(line, capacity, u",");
    if (!NeedsQuotes(cut)) {
        AppendText(line, capacity, cut);
        return;
    }
    AppendText(line, capacity, u"\"");
    for (const char16_t* c = cut; *c != 0; ++c)
        AppendUnits(line, capacity, *c == u'"' ? u"\"\"" : c, *c == u'"' ? 2 : 1);
    AppendText(line, capacity, u"\"");
}

std::filesystem::path PathFromUtf16(const char16_t* text) {
    return std::filesystem::path(std::u16string_view(text, static_cast<size_t>(TextLength(text))));
}

// Everything one save may write: mark, header, a line end and the record, each line at most 4095 bytes.
struct SaveBytes {
    char bytes[sizeof ByteOrderMark + 2 * LineBytesCapacity + 2];
    int32_t size;
};

bool AddUtf8(SaveBytes& out, const char16_t* line) {
    const int32_t size = Utf8FromUtf16(line, out.bytes + out.size, LineBytesCapacity);
    if (size < 0) return false;
    out.size += size;
    return true;
}

void AddBytes(SaveBytes& out, const char* bytes, int32_t size) {
    for (int32_t i = 0; i < size; ++i) out.bytes[out.size++] = bytes[i];
}

constexpr int32_t JournalCapacity = 64;
const char16_t JournalSuffix[] = u".journal";

enum class SaveResult { Saved, NotWritten, Busy, Foreign };

SaveResult Failure(const LogFile& file) { return file.busy ? SaveResult::Busy : SaveResult::NotWritten; }

// A journal left by an append that never finished: a log that stopped between the two sizes holds a torn
// record and is cut back. A journal that does not read whole was itself torn, before any append began.
bool ReplayJournal(LogFile& file, const char16_t* journal) {
    char text[JournalCapacity] = {};
    const int32_t size = ReadJournal(journal, text, JournalCapacity - 1);
    if (size < 0) return true;
    long long before = 0;
    long long after = 0;
    int end = 0;
    if (size > 0 && text[size - 1] == '\n' && std::sscanf(text, "append %lld %lld%n", &before, &after, &end) == 2 &&
        end == size - 1) {
        int64_t now = 0;
        if (!LogFileSize(file, now)) return false;
        if (now > before && now < after && !(TruncateLog(file, before) && SyncLog(file))) return false;
    }
    return RemoveJournal(journal);
}

// Which leading bytes the log holds: this program's header (with or without the mark), nothing, only the mark,
// or something else.
enum class LogHead { Ours, Empty, MarkOnly, Foreign, Unread };

LogHead ReadHead(LogFile& file, int64_t size, const SaveBytes& header) {
    if (size == 0) return LogHead::Empty;
    char head[sizeof ByteOrderMark - 1 + LineBytesCapacity];
    const int32_t markSize = sizeof ByteOrderMark - 1;
    const int64_t wanted = markSize + header.size;
    const int32_t count = static_cast<int32_t>(size < wanted ? size : wanted);
    if (!ReadLog(file, 0, head, count)) return LogHead::Unread;
    const bool marked = count >= markSize && std::memcmp(head, ByteOrderMark, markSize) == 0;
    if (marked && count == markSize) return LogHead::MarkOnly;
    const int32_t skip = marked ? markSize : 0;
    const bool ours = count - skip >= header.size && std::memcmp(head + skip, header.bytes, header.size) == 0;
    return ours ? LogHead::Ours : LogHead::Foreign;
}

// Names like T146.csv.<pid>.<tick>.new, left by a first save of earlier versions killed before or after its
// link: a whole record of a patient, or a second name of the log itself.
bool IsLeftover(const std::u16string& name, const std::u16string& logName) {
    const std::u16string suffix = u".new";
    if (name.size() <= logName.size() + suffix.size() + 1 || name.compare(0, logName.size(), logName) != 0 ||
        name[logName.size()] != u'.' || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    for (size_t i = logName.size() + 1; i < name.size() - suffix.size(); ++i) {
        if ((name[i] < u'0' || name[i] > u'9') && name[i] != u'.') return false;
    }
    return true;
}

void RemoveLeftovers(const char16_t* logPath) {
    const std::filesystem::path log = PathFromUtf16(logPath);
    const std::u16string logName = log.filename().u16string();
    std::error_code error;
    std::filesystem::directory_iterator entries(log.parent_path(), error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        if (IsLeftover(entries->path().filename().u16string(), logName))
            std::filesystem::remove(entries->path(), error);
    }
}

// Under the lock: the record goes after whatever the file holds, journaled, and when anything fails the file is
// cut back to the size it had, so no part of a failed record stays.
SaveResult AppendUnderLock(LogFile& file, const char16_t* path, const Tool& tool, const char16_t* line) {
    char16_t journal[RecordPathCapacity + sizeof JournalSuffix];
    CopyText(journal, RecordPathCapacity + sizeof JournalSuffix, path);
    AppendText(journal, RecordPathCapacity + sizeof JournalSuffix, JournalSuffix);
    RemoveLeftovers(path);
    int64_t size = 0;
    if (!ReplayJournal(file, journal) || !LogFileSize(file, size)) return Failure(file);

    char16_t headerLine[RecordLineCapacity];
    BuildHeaderLine(tool, headerLine, RecordLineCapacity);
    SaveBytes header{{}, 0};
    if (!AddUtf8(header, headerLine)) return SaveResult::NotWritten;
    SaveBytes out{{}, 0};
    char last = '\n';
    switch (ReadHead(file, size, header)) {
        case LogHead::Foreign:
            return SaveResult::Foreign;
        case LogHead::Unread:
            return Failure(file);
        case LogHead::Empty:
            AddBytes(out, ByteOrderMark, sizeof ByteOrderMark - 1);
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
    if (!AddUtf8(out, line)) return SaveResult::NotWritten;

    char text[JournalCapacity];
    const int length = std::snprintf(text, sizeof text, "append %lld %lld\n", static_cast<long long>(size),
                                     static_cast<long long>(size + out.size));
    if (!WriteJournal(journal, text, length)) {
        RemoveJournal(journal);
        return SaveResult::NotWritten;
    }
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

SaveResult SaveInto(const char16_t* path, const Tool& tool, const char16_t* line, LogDeadline deadline) {
    for (;;) {
        LogFile file{-1, false};
        LogOpen opened = OpenLockedLog(path, deadline, file);
        if (opened == LogOpen::Missing) {
            SaveBytes whole{{}, 0};
            char16_t header[RecordLineCapacity];
            BuildHeaderLine(tool, header, RecordLineCapacity);
            AddBytes(whole, ByteOrderMark, sizeof ByteOrderMark - 1);
            if (!AddUtf8(whole, header) || !AddUtf8(whole, line)) return SaveResult::NotWritten;
            const LogCreation creation = CreateLogFile(path, whole.bytes, whole.size);
            if (creation == LogCreation::Created) return SaveResult::Saved;
            if (creation == LogCreation::Failed) return SaveResult::NotWritten;
            opened = creation == LogCreation::Exists ? LogOpen::Taken : CreateLockedLog(path, deadline, file);
        }
        switch (opened) {
            case LogOpen::Opened:
            case LogOpen::Created: {
                const SaveResult result = AppendUnderLock(file, path, tool, line);
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
            case LogOpen::Failed:
                return SaveResult::NotWritten;
        }
    }
}

}  // namespace

bool RecordFilePath(const char16_t* folder, int32_t toolId, char16_t* out, int32_t capacity, int32_t number) {
    bool backslash = false;
    for (const char16_t* c = folder; c != nullptr && *c != 0; ++c) backslash = backslash || *c == u'\\';
    char16_t name[48];
    const char16_t separator = backslash ? u'\\' : u'/';
    const int32_t nameLength = number == 1 ? FormatText(name, 48, u"%cT%03d.csv", separator, toolId)
                                           : FormatText(name, 48, u"%cT%03d-%d.csv", separator, toolId, number);
    CopyText(out, capacity, folder);
    return AppendText(out, capacity, name) == TextLength(folder) + nameLength;
}

bool RecordsFolderFromEnvironment(const char16_t* xdgDataHome, const char16_t* home, char16_t* out, int32_t capacity) {
    const bool xdgUsable = xdgDataHome != nullptr && xdgDataHome[0] == u'/';
    const bool homeUsable = home != nullptr && home[0] == u'/';
    const char16_t* base = xdgUsable ? xdgDataHome : homeUsable ? home : u"/";
    int32_t baseLength = TextLength(base);
    while (baseLength > 0 && base[baseLength - 1] == u'/') --baseLength;  // "/" and "/data/" join without "//"
    const char16_t* below = xdgUsable ? u"/OvraMedSuite/records" : u"/.local/share/OvraMedSuite/records";
    if (capacity < 1) return false;
    out[0] = 0;
    AppendUnits(out, capacity, base, baseLength);
    return AppendText(out, capacity, below) == baseLength + TextLength(below);
}

void BuildHeaderLine(const Tool& tool, char16_t* out, int32_t capacity) {
    CopyText(out, capacity, u"时间,工具");
    for (int32_t i = 0; i < tool.inputCount; ++i) AppendCell(out, capacity, tool.inputs[i].label, InputCellLimit);
    AppendText(out, capacity, u",结果\r\n");
}

void BuildRecordLine(const Tool& tool, const LocalTime& time, const double* inputValues, const char16_t* report,
                     char16_t* out, int32_t capacity) {
    FormatText(out, capacity, u"%04d-%02d-%02d %02d:%02d:%02d", time.year, time.month, time.day, time.hour, time.minute,
               time.second);
    AppendCell(out, capacity, tool.title, RecordLineCapacity);
    for (int32_t i = 0; i < tool.inputCount; ++i) {
        char16_t cell[InputCellLimit + 1];
        FormatText(cell, InputCellLimit + 1, u"%ls=%g", tool.inputs[i].label, inputValues[i]);
        AppendCell(out, capacity, cell, InputCellLimit);
    }
    AppendCell(out, capacity, report, ReportCellLimit);
    AppendText(out, capacity, u"\r\n");
}

SaveError AppendRecordLine(const char16_t* folder, const Tool& tool, const char16_t* line, char16_t* path,
                           int32_t capacity) {
    if (folder == nullptr || folder[0] == 0) return SaveError::NotWritten;
    CreateRecordsFolder(folder);  // when it fails, so does the open below
    const LogDeadline deadline = std::chrono::steady_clock::now() + LockWaitLimit;
    for (int32_t number = 1; number <= MaxLogNumber; ++number) {
        if (!RecordFilePath(folder, tool.id, path, capacity, number)) return SaveError::NotWritten;
        switch (SaveInto(path, tool, line, deadline)) {
            case SaveResult::Saved:
                return SaveError::None;
            case SaveResult::Busy:
                return SaveError::LogBusy;
            case SaveResult::NotWritten:
                return SaveError::NotWritten;
            case SaveResult::Foreign:
                break;  // not this program's columns: the next number
        }
    }
    return SaveError::NotWritten;
}

}  // namespace ovra
