// The Linux program: the self-test runs without any display; otherwise the window, whose Qt code lives in a
// module loaded only here, so a self-test start costs no more than an empty program.
#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "entry/command_line.h"
#include "entry/selftest.h"

namespace {

// Exit code of a window that cannot be created.
constexpr int WindowFailed = 1;

#ifdef OVRA_WINDOW_MODULE
bool DisplayNamed() {
    static const char* const names[] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
    for (const char* name : names) {
        const char* value = std::getenv(name);
        if (value != nullptr && value[0] != 0) return true;
    }
    return false;
}

int RunWindow(int argc, char** argv) {
    if (!DisplayNamed()) {
        std::fputs("abcd2: the window cannot be opened: no display (DISPLAY is not set); try --selftest\n", stderr);
        return WindowFailed;
    }
    // Beside the program in a build tree; in the package's private folder once installed.
    static const char* const places[] = {OVRA_WINDOW_MODULE, OVRA_WINDOW_MODULE_INSTALLED};
    char path[PATH_MAX + sizeof OVRA_WINDOW_MODULE_INSTALLED + sizeof OVRA_WINDOW_MODULE];
    const ssize_t length = readlink("/proc/self/exe", path, PATH_MAX);
    path[length > 0 ? length : 0] = 0;
    char* slash = std::strrchr(path, '/');
    if (slash == nullptr) {
        std::fputs("abcd2: the window cannot be opened: the program's own folder is unknown\n", stderr);
        return WindowFailed;
    }
    void* module = nullptr;
    for (const char* place : places) {
        std::strcpy(slash + 1, place);
        if (access(path, F_OK) == 0) {
            module = dlopen(path, RTLD_NOW | RTLD_LOCAL);
            break;
        }
    }
    auto* run =
        module == nullptr ? nullptr : reinterpret_cast<int (*)(int, char**)>(dlsym(module, "OvraRunMainWindow"));
    if (run == nullptr) {
        const char* why = dlerror();
        std::fprintf(stderr, "abcd2: the window cannot be opened: %s\n", why != nullptr ? why : "its module is missing");
        return WindowFailed;
    }
    return run(argc, argv);
}
#else
int RunWindow(int, char**) {
    std::fputs("abcd2: the window is not available in this build; use --selftest\n", stderr);
    return WindowFailed;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    static char16_t commandLine[ovra::CommandLineCapacity];
    ovra::CommandLineFromArgs(argc, argv, commandLine, ovra::CommandLineCapacity);
    const ovra::StartRequest request = ovra::ReadCommandLine(commandLine);
    if (request.selfTest) return ovra::RunSelfTest(request.reportPath);
    return RunWindow(argc, argv);
}
