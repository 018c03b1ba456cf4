// The Linux program: the self-test runs without any display; otherwise the window.
#include <cstdio>

#include "entry/command_line.h"
#include "entry/selftest.h"

int main(int argc, char** argv) {
    static char16_t commandLine[ovra::CommandLineCapacity];
    ovra::CommandLineFromArgs(argc, argv, commandLine, ovra::CommandLineCapacity);
    const ovra::StartRequest request = ovra::ReadCommandLine(commandLine);
    if (request.selfTest) return ovra::RunSelfTest(request.reportPath);
    std::fputs("abcd2: the window is not available in this build; use --selftest\n", stderr);
    return 1;
}
