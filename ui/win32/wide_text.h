#pragma once
// The core's UTF-16 texts seen as the Windows API's wide strings, and its colours as COLORREFs.
#include <windows.h>

#include <cstdint>

static_assert(sizeof(wchar_t) == 2, "Windows wide strings are UTF-16 code units");

namespace ovra {

inline const wchar_t* WideFromUtf16(const char16_t* text) {
    return text == nullptr ? L"" : reinterpret_cast<const wchar_t*>(text);
}
inline wchar_t* WideFromUtf16(char16_t* text) { return reinterpret_cast<wchar_t*>(text); }
inline const char16_t* Utf16FromWide(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }
// A list of texts, such as a font's faces.
inline const wchar_t* const* WideFromUtf16(const char16_t* const* texts) {
    return reinterpret_cast<const wchar_t* const*>(texts);
}

// 0xRRGGBB to the API's 0x00BBGGRR.
constexpr COLORREF ColorRefFromRgb(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace ovra
