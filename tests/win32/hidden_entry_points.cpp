// Linked only into the test build of the program that stands in for Windows 7. The linker sends every call
// of GetProcAddress in the program and in the runtime linked into it (--wrap=__imp_GetProcAddress) here,
// where the functions named in OVRA_HIDDEN_ENTRY_POINTS (separated by spaces) are not found, as on a system
// without them; each one hidden is named on standard error, "hidden <name>", so a test sees it was asked for.
#include <windows.h>

#include <cstring>

using GetProcAddressFunction = FARPROC(WINAPI*)(HMODULE, LPCSTR);
extern "C" GetProcAddressFunction __real___imp_GetProcAddress;

namespace {

bool Hidden(const char* name) {
    char names[1024];
    const DWORD length = GetEnvironmentVariableA("OVRA_HIDDEN_ENTRY_POINTS", names, sizeof names);
    if (length == 0 || length >= sizeof names) return false;
    const size_t size = std::strlen(name);
    for (const char* at = names; (at = std::strstr(at, name)) != nullptr; at += size) {
        const bool starts = at == names || at[-1] == ' ';
        if (starts && (at[size] == ' ' || at[size] == 0)) return true;
    }
    return false;
}

FARPROC WINAPI HidingGetProcAddress(HMODULE module, LPCSTR name) {
    // A name, not an ordinal (whose pointer value is below 65536).
    if (reinterpret_cast<ULONG_PTR>(name) >> 16 != 0 && Hidden(name)) {
        char line[160] = "hidden ";
        std::strncat(line, name, sizeof line - 9);
        std::strcat(line, "\n");
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return __real___imp_GetProcAddress(module, name);
}

}  // namespace

extern "C" {
GetProcAddressFunction __wrap___imp_GetProcAddress = HidingGetProcAddress;
}
