// main() of every Linux program of the family: the self-test runs without any display; otherwise the window,
// whose Qt code lives in a module loaded only here, so a self-test start costs no more than an empty program.
// The program's tool comes from ActiveTool and is handed to the module, which holds no tool of its own.
#include <dlfcn.h>
#include <errno.h>
#include <limits.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "entry/command_line.h"
#include "entry/selftest.h"
#include "tool/tool.h"

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
        std::fprintf(stderr, "%s: the window cannot be opened: no display (DISPLAY is not set); try --selftest\n",
                     program_invocation_short_name);
        return WindowFailed;
    }
    // Beside the programs in a build tree; once installed, in the package's own folder named after the program,
    // so that two tools' packages never own the same file.
    char exe[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", exe, sizeof exe - 1);
    // A link that fills the buffer may have been cut, so it names no folder for sure.
    exe[length > 0 && length < static_cast<ssize_t>(sizeof exe - 1) ? length : 0] = 0;
    char* slash = std::strrchr(exe, '/');
    if (slash == nullptr) {
        std::fprintf(stderr, "%s: the window cannot be opened: the program's own folder is unknown\n",
                     program_invocation_short_name);
        return WindowFailed;
    }
    *slash = 0;
    const char* const program = slash + 1;
    char beside[PATH_MAX + sizeof OVRA_WINDOW_MODULE];
    char installed[sizeof beside + PATH_MAX + sizeof "/../lib/ovra//"];
    std::snprintf(beside, sizeof beside, "%s/%s", exe, OVRA_WINDOW_MODULE);
    std::snprintf(installed, sizeof installed, "%s/../lib/ovra/%s/%s", exe, program, OVRA_WINDOW_MODULE);
    // The first that exists; when neither does, the installed place, so the message names where it belongs.
    const char* path = access(beside, F_OK) == 0 ? beside : installed;
    void* module = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    using RunMainWindow = int (*)(int, char**, const ovra::Tool*);
    auto* run = module == nullptr ? nullptr : reinterpret_cast<RunMainWindow>(dlsym(module, "OvraRunMainWindow"));
    if (run == nullptr) {
        std::fprintf(stderr, "%s: the window cannot be opened: %s\n", program_invocation_short_name, dlerror());
        return WindowFailed;
    }
    return run(argc, argv, &ovra::ActiveTool());
}
#else
int RunWindow(int, char**) {
    std::fprintf(stderr, "%s: the window is not available in this build; use --selftest\n",
                 program_invocation_short_name);
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
