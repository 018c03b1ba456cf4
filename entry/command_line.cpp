#include "entry/command_line.h"

#include "text/text.h"
#include "text/utf.h"

namespace ovra {
namespace {

const char16_t* FindText(const char16_t* haystack, const char16_t* needle) {
    const int32_t n = TextLength(needle);
    for (const char16_t* p = haystack; *p != 0; ++p) {
        int32_t i = 0;
        while (i < n && p[i] == needle[i]) ++i;
        if (i == n) return p;
    }
    return nullptr;
}

}  // namespace

StartRequest ReadCommandLine(const char16_t* commandLine) {
    StartRequest request{false, {}};
    const char16_t* at = FindText(commandLine ? commandLine : u"", u"--selftest");
    if (at == nullptr) return request;
    request.selfTest = true;
    at += 10;
    while (*at == u' ') ++at;  // spaces only: a tab starts the path
    const char16_t stop = *at == u'"' ? u'"' : u' ';
    if (*at == u'"') ++at;
    int32_t n = 0;
    while (at[n] != 0 && at[n] != stop && n < ReportPathCapacity - 1) {
        request.reportPath[n] = at[n];
        ++n;
    }
    request.reportPath[n] = 0;
    if (n == 0) CopyText(request.reportPath, ReportPathCapacity, u"selftest.txt");
    return request;
}

void CommandLineFromArgs(int argc, const char* const* argv, char16_t* out, int32_t capacity) {
    if (capacity < 1) return;
    out[0] = 0;
    char16_t argument[CommandLineCapacity];
    for (int i = 0; i < argc; ++i) {
        Utf16FromUtf8(argv[i], -1, argument, CommandLineCapacity);
        bool quote = argument[0] == 0;
        for (const char16_t* p = argument; *p != 0; ++p) quote = quote || *p == u' ' || *p == u'\t';
        if (i > 0) AppendText(out, capacity, u" ");
        if (quote) AppendText(out, capacity, u"\"");
        AppendText(out, capacity, argument);
        if (quote) AppendText(out, capacity, u"\"");
    }
}

}  // namespace ovra
