#include "entry/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ovra {
namespace {

TEST(CommandLine, TheSwitchAndTheReportPath) {
    struct Case {
        std::u16string line;
        bool selfTest;
        std::u16string path;
    };
    const std::u16string longPath(600, u'p');
    const Case cases[] = {
        {u"abcd2.exe", false, u""},
        {u"abcd2.exe --SELFTEST out.txt", false, u""},  // case-sensitive
        {u"abcd2.exe --selftest", true, u"selftest.txt"},
        {u"abcd2.exe --selftest    ", true, u"selftest.txt"},
        {u"abcd2.exe --selftest \"\"", true, u"selftest.txt"},
        {u"abcd2.exe --selftest out.txt", true, u"out.txt"},
        {u"abcd2.exe --selftest out.txt more", true, u"out.txt"},
        {u"abcd2.exe --selftest \"C:\\my dir\\r.txt\" x", true, u"C:\\my dir\\r.txt"},
        {u"abcd2.exe --selftest C:\\my dir\\r.txt", true, u"C:\\my"},
        {u"abcd2.exe --selftest \"unterminated path", true, u"unterminated path"},
        {u"abcd2.exe --selftestreport.txt", true, u"report.txt"},
        {u"abcd2.exe --selftest\tout.txt", true, u"\tout.txt"},  // a tab is not skipped
        {u"C:\\x--selftest\\abcd2.exe", true, u"\\abcd2.exe"},  // found inside the program path
        {u"a --selftest one --selftest two", true, u"one"},      // the first occurrence counts
        {u"abcd2.exe --selftest \"a\" b", true, u"a"},
        // Paths that cannot be held whole are refused (empty), never cut into another file's name.
        {u"abcd2.exe --selftest " + longPath.substr(0, 519), true, longPath.substr(0, 519)},
        {u"abcd2.exe --selftest " + longPath.substr(0, 520), true, u""},
        {u"abcd2.exe --selftest \"" + longPath + u"\"", true, u""},
        {u"abcd2.exe --selftest \"a\"b\"", true, u""},
        {u"abcd2.exe --selftest \"\"x", true, u""},
        {u"abcd2.exe --selftest a\"b", true, u""},
    };
    for (const Case& c : cases) {
        const StartRequest request = ReadCommandLine(c.line.c_str());
        EXPECT_EQ(request.selfTest, c.selfTest) << std::string(c.line.begin(), c.line.end());
        EXPECT_EQ(std::u16string(request.reportPath), c.path) << std::string(c.line.begin(), c.line.end());
    }
}

TEST(CommandLine, ArgumentsAreJoinedAsTheWindowsCommandLineWouldBe) {
    std::vector<const char*> argv = {"/opt/abcd2", "--selftest", "my report.txt", "", "tab\there", "x"};
    char16_t line[CommandLineCapacity];
    CommandLineFromArgs(static_cast<int>(argv.size()), argv.data(), line, CommandLineCapacity);
    EXPECT_EQ(std::u16string(line), u"/opt/abcd2 --selftest \"my report.txt\" \"\" \"tab\there\" x");
    EXPECT_EQ(std::u16string(ReadCommandLine(line).reportPath), u"my report.txt");

    const char* chinese[] = {"abcd2", "--selftest", "报告.txt"};
    CommandLineFromArgs(3, chinese, line, CommandLineCapacity);
    EXPECT_EQ(std::u16string(ReadCommandLine(line).reportPath), u"报告.txt");

    const char* quoted[] = {"abcd2", "--selftest", "a\" b"};
    CommandLineFromArgs(3, quoted, line, CommandLineCapacity);
    EXPECT_EQ(std::u16string(line), u"abcd2 --selftest \"a\"\" b\"");
    EXPECT_EQ(std::u16string(ReadCommandLine(line).reportPath), u"");

    // A cut line must not hand on a shorter path: it ends in quotes that refuse it.
    const char* plain[] = {"abcd2", "--selftest", "report.txt"};
    for (int32_t capacity : {20, 21, 22, 26}) {
        CommandLineFromArgs(3, plain, line, capacity);
        EXPECT_EQ(std::u16string(line).size(), static_cast<size_t>(capacity - 1));
        const StartRequest request = ReadCommandLine(line);
        EXPECT_EQ(std::u16string(request.reportPath), u"") << capacity;
    }
}

}  // namespace
}  // namespace ovra
