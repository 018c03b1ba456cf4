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
    const bool quoted = *at == u'"';
    if (quoted) ++at;
    int32_t n = 0;
    bool quoteInside = false;
    for (; at[n] != 0 && at[n] != (quoted ? u'"' : u' '); ++n) quoteInside = quoteInside || at[n] == u'"';
    // More of the same argument after the closing quote: the path may have held that quote.
    const bool quoteAmbiguous = quoted && at[n] == u'"' && at[n + 1] != 0 && at[n + 1] != u' ';
    if (n > ReportPathCapacity - 1 || quoteInside || quoteAmbiguous) return request;
    for (int32_t i = 0; i < n; ++i) request.reportPath[i] = at[i];
    request.reportPath[n] = 0;
    if (n == 0) CopyText(request.reportPath, ReportPathCapacity, u"selftest.txt");
    return request;
}

void CommandLineFromArgs(int argc, const char* const* argv, char16_t* out, int32_t capacity) {
    if (capacity < 1) return;
    out[0] = 0;
    int32_t length = 0;
    bool whole = true;
    char16_t argument[CommandLineCapacity];
    for (int i = 0; i < argc; ++i) {
        Utf16FromUtf8(argv[i], -1, argument, CommandLineCapacity);
        bool quote = argument[0] == 0;
        for (const char16_t* p = argument; *p != 0; ++p) quote = quote || *p == u' ' || *p == u'\t' || *p == u'"';
        const int32_t before = length;
        int32_t expected = before + (i > 0 ? 1 : 0) + (quote ? 2 : 0);
        if (i > 0) length = AppendText(out, capacity, u" ");
        if (quote) length = AppendText(out, capacity, u"\"");
        // Inside quotes a quote is doubled, as Windows spells it; the path rule refuses such a path.
        for (const char16_t* p = argument; *p != 0; ++p) {
            length = AppendUnits(out, capacity, *p == u'"' ? u"\"\"" : p, *p == u'"' ? 2 : 1);
            expected += *p == u'"' ? 2 : 1;
        }
        if (quote) length = AppendText(out, capacity, u"\"");
        whole = whole && length == expected;
    }
    // A cut line ends in three quotes, which no reading of the path accepts: a cut path must not name a file.
    for (int32_t i = length - 1; !whole && i >= 0 && i >= length - 3; --i) out[i] = u'"';
}

}  // namespace ovra
