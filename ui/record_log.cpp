#include "ui/record_log.h"

#include <filesystem>
#include <random>
#include <string_view>
#include <system_error>

#include "io/file.h"
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

bool WriteUtf8(const char16_t* path, const char* mode, const char* prefix, const char16_t* line) {
    char bytes[sizeof ByteOrderMark + LineBytesCapacity];
    int32_t start = 0;
    for (; prefix[start] != 0; ++start) bytes[start] = prefix[start];
    const int32_t size = Utf8FromUtf16(line, bytes + start, LineBytesCapacity);
    if (size < 0) return false;
    std::FILE* file = OpenFile(path, mode);
    return file != nullptr && WriteAllAndClose(file, bytes, start + size);
}

// The header is written into a private file that then appears under the log's name in one step (a hard link
// fails when the name exists), so no other process can append before the header or write a second one.
bool EnsureLogFile(const char16_t* filePath, const Tool& tool) {
    std::error_code error;
    const std::filesystem::path target = PathFromUtf16(filePath);
    if (std::filesystem::exists(target, error)) return true;
    char16_t header[RecordLineCapacity];
    BuildHeaderLine(tool, header, RecordLineCapacity);
    char16_t privatePath[RecordPathCapacity + 32];
    std::random_device random;
    const long long tag = (static_cast<long long>(random()) << 31) ^ random();
    FormatText(privatePath, RecordPathCapacity + 32, u"%ls.%lld.new", filePath, tag);
    if (!WriteUtf8(privatePath, "wbx", ByteOrderMark, header)) {
        std::filesystem::remove(PathFromUtf16(privatePath), error);
        return false;
    }
    std::filesystem::create_hard_link(PathFromUtf16(privatePath), target, error);
    std::filesystem::remove(PathFromUtf16(privatePath), error);
    return std::filesystem::exists(target, error);
}

}  // namespace

void RecordFilePath(const char16_t* folder, int32_t toolId, char16_t* out, int32_t capacity) {
    bool backslash = false;
    for (const char16_t* c = folder; c != nullptr && *c != 0; ++c) backslash = backslash || *c == u'\\';
    FormatText(out, capacity, u"%ls%cT%03d.csv", folder, backslash ? u'\\' : u'/', toolId);
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
    if (folder == nullptr || folder[0] == 0) return false;
    std::error_code error;
    std::filesystem::create_directories(PathFromUtf16(folder), error);
    return EnsureLogFile(filePath, tool) && WriteUtf8(filePath, "ab", "", line);
}

}  // namespace ovra
