#!/usr/bin/python3
"""Every program imports only what Windows 7 SP1 has: each DLL it names, at start (the import table, read by
objdump) or at its first call (the delay-load table), and each function of it. A function not listed below
fails the check: add it only once the documentation says Windows 7 (or earlier) has it; a newer one is looked
up at run time with a fallback instead, as those in LOOKED_UP are.
    windows7_imports.py <program.exe>...      exit 0 when every import is allowed
    windows7_imports.py --looked-up           the newer functions the programs look up, one a line"""
import re
import struct
import subprocess
import sys

# Per DLL (all of them part of Windows 7 SP1), the functions allowed. The newest are of Windows Vista:
# GetTickCount64 and SetProcessDPIAware.
ALLOWED = {
    "advapi32.dll": "CryptAcquireContextA CryptGenRandom CryptReleaseContext SystemFunction036",
    "kernel32.dll": """
        AddVectoredExceptionHandler CloseHandle CreateEventA CreateFileW CreateHardLinkW CreateSemaphoreA
        DeleteCriticalSection DeleteFileW DuplicateHandle EnterCriticalSection FileTimeToSystemTime
        FindFirstVolumeW FindNextVolumeW FindVolumeClose FlushFileBuffers FormatMessageA FreeLibrary
        GetCommandLineW GetCurrentProcess GetCurrentProcessId GetCurrentThread GetCurrentThreadId
        GetDiskFreeSpaceExW GetFileAttributesW GetFileInformationByHandle GetFileSizeEx GetFileType
        GetFullPathNameW GetHandleInformation GetLastError GetLocalTime GetModuleHandleA GetModuleHandleW
        GetProcAddress GetProcessAffinityMask GetProcessTimes GetStartupInfoW GetSystemTimeAdjustment
        GetSystemTimeAsFileTime GetTempPathW GetThreadContext GetThreadPriority GetThreadTimes GetTickCount64
        GetVolumeInformationW GlobalAlloc GlobalFree GlobalLock GlobalSize GlobalUnlock InitializeCriticalSection
        IsDBCSLeadByteEx IsDebuggerPresent LeaveCriticalSection LoadLibraryA LoadLibraryW LocalAlloc LocalFree
        LockFileEx MoveFileExW MulDiv MultiByteToWideChar OpenProcess OutputDebugStringA QueryPerformanceCounter
        QueryPerformanceFrequency RaiseException ReadFile ReleaseSemaphore RemoveDirectoryW
        RemoveVectoredExceptionHandler ResetEvent ResumeThread RtlCaptureContext RtlLookupFunctionEntry
        RtlUnwindEx RtlVirtualUnwind SetDllDirectoryW SetEndOfFile SetEvent SetFilePointer SetFilePointerEx
        SetLastError SetProcessAffinityMask SetSystemTime SetThreadContext SetThreadPriority
        SetUnhandledExceptionFilter Sleep SuspendThread TlsAlloc TlsGetValue TlsSetValue TryEnterCriticalSection
        UnlockFileEx VirtualProtect VirtualQuery WaitForMultipleObjects WaitForSingleObject WideCharToMultiByte
        WriteFile __C_specific_handler lstrcmpW lstrcpynW lstrlenW""",
    "msvcrt.dll": """
        ___lc_codepage_func ___mb_cur_max_func __iob_func __set_app_type __setusermatherr __wgetmainargs
        __winitenv _amsg_exit _assert _beginthreadex _cexit _close _commode _endthreadex _errno _exit _fdopen _fileno
        _findclose _fmode _fstat64 _get_osfhandle _initterm _localtime64 _lseeki64 _onexit _open _read _setjmp
        _strdup _telli64 _time64 _ultoa _wchdir _wchmod _wcmdln _wfindfirst64 _wfindnext64 _wfopen _wfullpath
        _wgetcwd _wmkdir _wopen _write _wstat64 _wutime64 abort calloc exit fclose fflush fopen fprintf fputc
        fputs fputwc free fwprintf fwrite getc islower isspace isupper iswctype isxdigit localeconv log10 longjmp
        malloc memchr memcmp memcpy memmove memset printf realloc setlocale setvbuf signal strcmp strcoll
        strerror strftime strlen strncmp strtol strtoul strxfrm tolower towlower towupper ungetc vfprintf wcscat
        wcscmp wcscoll wcscpy wcsftime wcslen wcsxfrm""",
    "user32.dll": """
        AdjustWindowRect BeginPaint CallWindowProcW CloseClipboard CreateWindowExW DefWindowProcW DispatchMessageW
        DrawTextW EmptyClipboard EndPaint FillRect GetClientRect GetClipboardData GetClipboardSequenceNumber
        GetDC GetFocus GetKeyState GetMessageW GetMonitorInfoW GetSystemMetrics GetWindowRect GetWindowTextW
        InflateRect InvalidateRect IsChild IsClipboardFormatAvailable IsWindow LoadCursorW LoadIconW
        MapVirtualKeyW MapWindowPoints MessageBoxW MonitorFromPoint MonitorFromRect MonitorFromWindow MoveWindow
        NotifyWinEvent OpenClipboard PostMessageW PostQuitMessage RegisterClassExW ReleaseDC SendMessageW
        SetClipboardData SetFocus SetProcessDPIAware SetWindowLongPtrW SetWindowPos SetWindowTextW ShowWindow
        SystemParametersInfoW TranslateMessage UpdateWindow""",
    "gdi32.dll": """
        CreateFontW CreatePen CreateSolidBrush DeleteObject EnumFontFamiliesExW GetDeviceCaps GetStockObject
        GetTextExtentPoint32W Rectangle SelectObject SetBkColor SetBkMode SetTextColor""",
    "shell32.dll": "SHGetFolderPathW",
    "comctl32.dll": "InitCommonControlsEx",
    "oleacc.dll": "CreateStdAccessibleObject LresultFromObject",
    "oleaut32.dll": "SysAllocString",
}

# Newer than Windows 7 SP1 (SetDefaultDllDirectories only with update KB2533623), so looked up at run time
# by the programs or the runtime linked into them, each with a fallback; never imported.
LOOKED_UP = {
    "kernel32.dll": "SetDefaultDllDirectories GetSystemTimePreciseAsFileTime",
    "user32.dll": "SetProcessDpiAwarenessContext GetDpiForWindow AdjustWindowRectExForDpi",
}


def Imports(path):
    """(dll, function) for each entry of the import table, as objdump reads it."""
    dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", path], capture_output=True, text=True,
                          check=True).stdout
    dll = None
    for line in dump.splitlines():
        named = re.match(r"\s*DLL Name: (\S+)", line)
        if named:
            dll = named.group(1).lower()
            continue
        entry = re.match(r"\t[0-9a-f]+\t\s*\d+\s+(\S+)$", line)
        if entry and dll:
            yield dll, entry.group(1)


def DelayImports(path):
    """(dll, function) for each entry of the delay-load table. GNU ld leaves the table out of the PE header's
    directory, so each descriptor is found by its first two fields: the attribute 1 (fields are RVAs) and the
    RVA of its DLL's name."""
    data = open(path, "rb").read()
    header = struct.unpack_from("<I", data, 0x3C)[0]
    count = struct.unpack_from("<H", data, header + 6)[0]
    table = header + 24 + struct.unpack_from("<H", data, header + 20)[0]
    sections = [struct.unpack_from("<12xIII", data, table + 40 * i) for i in range(count)]  # rva, size, offset

    def Offset(rva):
        return next(raw + rva - start for start, size, raw in sections if start <= rva < start + size)

    def Rva(offset):
        return next(start + offset - raw for start, size, raw in sections if raw <= offset < raw + size)

    def Text(rva):
        at = Offset(rva)
        return data[at:data.index(b"\0", at)].decode("ascii")

    for name in re.finditer(rb"[A-Za-z0-9_]+\.dll\0", data):
        descriptor = data.find(struct.pack("<II", 1, Rva(name.start())))
        if descriptor < 0:
            continue
        entry = Offset(struct.unpack_from("<8I", data, descriptor)[4])  # the import name table
        while (thunk := struct.unpack_from("<Q", data, entry)[0]) != 0:
            entry += 8
            yield Text(Rva(name.start())).lower(), ("#%d" % (thunk & 0xFFFF) if thunk >> 63 else Text(thunk + 2))


def main(arguments):
    allowed = {dll: set(names.split()) for dll, names in ALLOWED.items()}
    looked_up = {dll: set(names.split()) for dll, names in LOOKED_UP.items()}
    if arguments == ["--looked-up"]:
        print("\n".join(sorted(n for names in looked_up.values() for n in names)))
        return 0
    failures = ["%s %s is allowed, though newer than Windows 7" % (dll, n)
                for dll, names in looked_up.items() for n in names & allowed.get(dll, set())]
    for program in arguments:
        delayed = sorted(set(DelayImports(program)))
        found = sorted(set(Imports(program))) + delayed
        wrong = ["%s!%s" % (dll, function) for dll, function in found if function not in allowed.get(dll, ())]
        if not delayed:
            failures.append("%s: no delay-loaded import found" % program)
        if wrong:
            failures.append("%s imports what Windows 7 SP1 may lack: %s" % (program, " ".join(wrong)))
        else:
            print("ok: %s: %d imports, %d of them delay-loaded" % (program, len(found), len(delayed)))
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
