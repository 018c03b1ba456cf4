#include "ui/win32/font_face.h"

namespace ovra {
namespace {

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;  // one is enough
}

}  // namespace

const wchar_t* FirstInstalledFace(const wchar_t* const* faces) {
    HDC screen = GetDC(nullptr);
    const wchar_t* chosen = faces[0];
    for (const wchar_t* const* face = faces; *face != nullptr && screen != nullptr; ++face) {
        chosen = *face;
        LOGFONTW wanted = {};
        wanted.lfCharSet = DEFAULT_CHARSET;  // every script the face has
        lstrcpynW(wanted.lfFaceName, *face, LF_FACESIZE);
        bool found = false;
        EnumFontFamiliesExW(screen, &wanted, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
        if (found) break;
    }
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return chosen;
}

}  // namespace ovra
