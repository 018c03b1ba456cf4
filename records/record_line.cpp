#include "records/record_line.h"

#include <charconv>

#include "text/format.h"
#include "text/text.h"
#include "text/utf.h"

namespace ovra {
namespace {

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

// The value as "%g" writes it when that reads back as the same double, else with as many more digits as it
// takes: the record says exactly what was evaluated, and what "%g" wrote exactly stays byte for byte.
void ExactValue(double value, char16_t* out, int32_t capacity) {
    char digits[40];
    for (int precision = 6;; ++precision) {
        const std::to_chars_result written =
            std::to_chars(digits, digits + sizeof digits - 1, value, std::chars_format::general, precision);
        *written.ptr = 0;
        double back = 0;
        std::from_chars(digits, written.ptr, back);
        if (back == value || precision >= 17) break;  // 17 digits always read back; NaN never compares
    }
    Utf16FromUtf8(digits, -1, out, capacity);
}

}  // namespace

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
        char16_t value[32];
        ExactValue(inputValues[i], value, 32);
        char16_t cell[InputCellLimit + 1];
        FormatText(cell, InputCellLimit + 1, u"%ls=%ls", tool.inputs[i].label, value);
        AppendCell(out, capacity, cell, InputCellLimit);
    }
    AppendCell(out, capacity, report, ReportCellLimit);
    AppendText(out, capacity, u"\r\n");
}

}  // namespace ovra
