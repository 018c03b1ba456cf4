#include "ui/record_log.h"

#include <filesystem>
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

void AddBytes(SaveBytes& out, const char* bytes) {
    for (; *bytes != 0; ++bytes) out.bytes[out.size++] = *bytes;
}

// Under the lock: the record goes after whatever the file holds, and when anything fails the file is cut back
// to the size it had, so no part of a failed record stays in front of a later one.
bool AppendUnderLock(const char16_t* filePath, const Tool& tool, const char16_t* line) {
    LogFile file{};
    if (!OpenLockedLog(filePath, file)) return false;
    int64_t size = 0;
    if (!LogFileSize(file, size)) {
        CloseLog(file);
        return false;
    }
    SaveBytes out{{}, 0};
    char last = '\n';
    bool ok = true;
    if (size == 0) {
        char16_t header[RecordLineCapacity];
        BuildHeaderLine(tool, header, RecordLineCapacity);
        AddBytes(out, ByteOrderMark);
        ok = AddUtf8(out, header);
    } else if (!ReadLogByte(file, size - 1, last)) {
        ok = false;
    } else if (last != '\n') {
        AddBytes(out, "\r\n");  // a fragment left by a write that never finished stays a line of its own
    }
    ok = ok && AddUtf8(out, line) && AppendToLog(file, out.bytes, out.size) && SyncLog(file);
    if (!ok && TruncateLog(file, size)) SyncLog(file);
    CloseLog(file);
    return ok;
}

}  // namespace

bool RecordFilePath(const char16_t* folder, int32_t toolId, char16_t* out, int32_t capacity) {
    bool backslash = false;
    for (const char16_t* c = folder; c != nullptr && *c != 0; ++c) backslash = backslash || *c == u'\\';
    char16_t name[32];
    const int32_t nameLength = FormatText(name, 32, u"%cT%03d.csv", backslash ? u'\\' : u'/', toolId);
    CopyText(out, capacity, folder);
    return AppendText(out, capacity, name) == TextLength(folder) + nameLength;
}

bool RecordsFolderFromEnvironment(const char16_t* xdgDataHome, const char16_t* home, char16_t* out,
                                  int32_t capacity) {
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

bool AppendRecordLine(const char16_t* folder, const char16_t* filePath, const Tool& tool, const char16_t* line) {
    if (folder == nullptr || folder[0] == 0 || filePath == nullptr || filePath[0] == 0) return false;
    std::error_code error;
    std::filesystem::create_directories(PathFromUtf16(folder), error);
    if (!std::filesystem::exists(PathFromUtf16(filePath), error)) {
        SaveBytes whole{{}, 0};
        char16_t header[RecordLineCapacity];
        BuildHeaderLine(tool, header, RecordLineCapacity);
        AddBytes(whole, ByteOrderMark);
        if (!AddUtf8(whole, header) || !AddUtf8(whole, line)) return false;
        const LogCreation created = CreateLogFile(filePath, whole.bytes, whole.size);
        if (created != LogCreation::Exists) return created == LogCreation::Created;
    }
    return AppendUnderLock(filePath, tool, line);
}

}  // namespace ovra
