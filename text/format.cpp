#include "text/format.h"

#include <cstdio>

#include "text/text.h"

namespace ovra {
namespace {

// Appends one unit while there is room for it and the terminator.
struct Sink {
    char16_t* out;
    int32_t capacity;
    int32_t length;
    void Put(char16_t c) {
        if (length < capacity - 1) out[length++] = c;
    }
    void PutNarrow(const char* s) {
        while (*s != 0) Put(static_cast<char16_t>(static_cast<unsigned char>(*s++)));
    }
};

}  // namespace

int32_t AppendFormatArgs(char16_t* out, int32_t capacity, const char16_t* f, const FormatArg* args, int32_t count) {
    if (capacity < 1) return 0;
    Sink sink{out, capacity, TextLength(out)};
    int32_t next = 0;
    while (*f != 0) {
        if (*f != u'%') {
            sink.Put(*f++);
            continue;
        }
        // Copy the conversion into a narrow spec for snprintf; the checked format keeps it short and ASCII.
        char spec[32];
        int32_t n = 0;
        spec[n++] = '%';
        ++f;
        if (*f == u'%') {
            sink.Put(u'%');
            ++f;
            continue;
        }
        while (*f != 0 && n < 24 && (*f < u'a' || *f > u'z')) spec[n++] = static_cast<char>(*f++);
        while (*f == u'l' && n < 28) spec[n++] = static_cast<char>(*f++);
        char conversion = static_cast<char>(*f);
        if (*f != 0) ++f;
        spec[n++] = conversion;
        spec[n] = 0;
        if (next >= count) break;  // unreachable through the checked templates
        const FormatArg& arg = args[next++];
        // Texts and characters take no flags, width or precision: the format check refuses them.
        if (arg.kind == FormatKind::Text || arg.kind == FormatKind::Char) {
            char16_t single[2] = {arg.kind == FormatKind::Char ? arg.character : u'\0', 0};
            const char16_t* text = arg.kind == FormatKind::Char ? single : (arg.text ? arg.text : u"");
            for (const char16_t* p = text; *p != 0 && sink.length < capacity - 1; ++p) sink.Put(*p);
            continue;
        }
        // A fixed-point double can take over 300 digits; 512 bytes hold any supported width.
        char number[512 + 352];
        if (arg.kind == FormatKind::Double) {
            std::snprintf(number, sizeof number, spec, arg.number);
        } else if (arg.kind == FormatKind::Int32) {
            std::snprintf(number, sizeof number, spec, static_cast<int>(arg.integer));
        } else {
            // spec ends in "lld"; long long is at least as wide as int64_t everywhere.
            std::snprintf(number, sizeof number, spec, static_cast<long long>(arg.integer));
        }
        sink.PutNarrow(number);
    }
    out[sink.length] = 0;
    return sink.length;
}

}  // namespace ovra
