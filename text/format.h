#pragma once
// The one formatter: printf-like conversions into a bounded UTF-16 text, checked against the argument types at
// compile time. Supported: %d %i (int32_t), %lld (int64_t), %f %e %g (double), %ls (const char16_t*, nullptr
// prints nothing), %c (char16_t), %%; flags "-+ 0#", a width and a precision as digits (no "*").
// Numbers go through snprintf in the C locale's "." form; nothing here allocates.
#include <cstdint>
#include <type_traits>

namespace ovra {

enum class FormatKind : uint8_t { Int32, Int64, Double, Text, Char };

struct FormatArg {
    FormatKind kind;
    union {
        int64_t integer;
        double number;
        const char16_t* text;
        char16_t character;
    };
};

namespace format_detail {

template <class T>
consteval FormatKind KindOf() {
    using U = std::remove_cvref_t<std::decay_t<T>>;
    if constexpr (std::is_same_v<U, int> || std::is_same_v<U, int32_t>) return FormatKind::Int32;
    else if constexpr (std::is_same_v<U, long long> || std::is_same_v<U, int64_t>) return FormatKind::Int64;
    else if constexpr (std::is_same_v<U, double>) return FormatKind::Double;
    else if constexpr (std::is_same_v<U, const char16_t*> || std::is_same_v<U, char16_t*>) return FormatKind::Text;
    else if constexpr (std::is_same_v<U, char16_t>) return FormatKind::Char;
    else static_assert(sizeof(T) == 0, "type has no conversion in the formatter");
}

void FormatMismatch();  // never defined: a call in a constant evaluation is the compile-time error

// Returns the number of arguments consumed; calls FormatMismatch on any disagreement.
consteval int CheckFormat(const char16_t* f, const FormatKind* kinds, int count) {
    int used = 0;
    for (; *f != 0; ++f) {
        if (*f != u'%') continue;
        ++f;
        if (*f == u'%') continue;
        const char16_t* start = f;
        while (*f == u'-' || *f == u'+' || *f == u' ' || *f == u'0' || *f == u'#') ++f;
        while (*f >= u'0' && *f <= u'9') ++f;
        if (*f == u'.') {
            ++f;
            while (*f >= u'0' && *f <= u'9') ++f;
        }
        const bool shaped = f != start;  // flags, width or precision
        int longs = 0;
        while (*f == u'l') ++longs, ++f;
        FormatKind want{};
        if ((*f == u'd' || *f == u'i') && longs == 0) want = FormatKind::Int32;
        else if ((*f == u'd' || *f == u'i') && longs == 2) want = FormatKind::Int64;
        else if ((*f == u'f' || *f == u'e' || *f == u'g') && longs == 0) want = FormatKind::Double;
        else if (*f == u's' && longs == 1 && !shaped) want = FormatKind::Text;
        else if (*f == u'c' && longs == 0 && !shaped) want = FormatKind::Char;
        else FormatMismatch();  // unknown conversion
        if (used >= count || kinds[used] != want) FormatMismatch();  // missing or mistyped argument
        ++used;
    }
    if (used != count) FormatMismatch();  // arguments left over
    return used;
}

}  // namespace format_detail

// A format text whose conversions were checked against Args when the call was compiled.
template <class... Args>
struct CheckedFormat {
    const char16_t* text;
    template <class S>
        requires std::is_convertible_v<const S&, const char16_t*>
    consteval CheckedFormat(const S& s) : text(s) {
        constexpr FormatKind kinds[sizeof...(Args) + 1] = {format_detail::KindOf<Args>()..., FormatKind::Int32};
        format_detail::CheckFormat(text, kinds, sizeof...(Args));
    }
};

inline FormatArg MakeFormatArg(int32_t v) { FormatArg a{FormatKind::Int32, {}}; a.integer = v; return a; }
inline FormatArg MakeFormatArg(long long v) { FormatArg a{FormatKind::Int64, {}}; a.integer = v; return a; }
inline FormatArg MakeFormatArg(long v) { FormatArg a{FormatKind::Int64, {}}; a.integer = v; return a; }
inline FormatArg MakeFormatArg(double v) { FormatArg a{FormatKind::Double, {}}; a.number = v; return a; }
inline FormatArg MakeFormatArg(const char16_t* v) { FormatArg a{FormatKind::Text, {}}; a.text = v; return a; }
inline FormatArg MakeFormatArg(char16_t v) { FormatArg a{FormatKind::Char, {}}; a.character = v; return a; }

// Appends the formatted text after the current content of `out` by the bounded-append rule. Returns the new
// length. The unchecked form is for callers that already hold checked arguments.
int32_t AppendFormatArgs(char16_t* out, int32_t capacity, const char16_t* format, const FormatArg* args,
                         int32_t count);

template <class... Args>
int32_t AppendFormat(char16_t* out, int32_t capacity, CheckedFormat<std::type_identity_t<Args>...> format,
                     const Args&... args) {
    const FormatArg packed[sizeof...(Args) + 1] = {MakeFormatArg(args)..., FormatArg{FormatKind::Int32, {}}};
    return AppendFormatArgs(out, capacity, format.text, packed, sizeof...(Args));
}

// Replaces the content of `out` with the formatted text. Returns its length.
template <class... Args>
int32_t FormatText(char16_t* out, int32_t capacity, CheckedFormat<std::type_identity_t<Args>...> format,
                   const Args&... args) {
    if (capacity < 1) return 0;
    out[0] = 0;
    const FormatArg packed[sizeof...(Args) + 1] = {MakeFormatArg(args)..., FormatArg{FormatKind::Int32, {}}};
    return AppendFormatArgs(out, capacity, format.text, packed, sizeof...(Args));
}

}  // namespace ovra
