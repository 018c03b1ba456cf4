#include "entry/dll_search_windows.h"

#include <windows.h>

namespace ovra {

void RestrictDllSearchToSystem32() {
    // Looked up, not imported: a Windows 7 without the update that adds it must still start the program.
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (found != nullptr) {
        const auto setDirectories =
            reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void (*)()>(found));
        if (setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    }
    // Without it, at least the current folder leaves the search.
    SetDllDirectoryW(L"");
}

}  // namespace ovra
