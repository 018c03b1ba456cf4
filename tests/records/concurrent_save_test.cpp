#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "tests/ui/ui_test_support.h"
#include "ui/frontend.h"

namespace ovra {
namespace {

constexpr int SavesPerProcess = 200;

// Runs in a child: waits for the start signal so both children race from the same moment.
[[noreturn]] void SaveMany(const std::u16string& folder, const char16_t* age, int startPipe) {
    char go = 0;
    const bool started = read(startPipe, &go, 1) >= 0;
    auto* state = new FrontEnd;
    auto* outcome = new Outcome;
    StartFrontEnd(*state, ActiveTool());
    const char16_t* fields[] = {age, u"130", u"80", u"1", u"1", u"0"};
    Calculate(*state, fields, *outcome);
    int failures = started ? 0 : 1;
    for (int i = 0; i < SavesPerProcess; ++i) {
        SaveRecord(*state, FixedTime, folder.c_str(), *outcome);
        if (outcome->noticeIcon != NoticeIcon::Information) ++failures;
    }
    _exit(failures == 0 ? 0 : 1);
}

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
    return count;
}

TEST(ConcurrentSave, TwoProcessesAppendWholeRecordsUnderOneHeader) {
    ScratchFolder root;
    const std::u16string folder = root.Path16() + u"/records";
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    pid_t children[2];
    const char16_t* ages[2] = {u"60", u"61"};
    for (int c = 0; c < 2; ++c) {
        children[c] = fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            close(pipeEnds[1]);
            SaveMany(folder, ages[c], pipeEnds[0]);
        }
    }
    close(pipeEnds[0]);
    close(pipeEnds[1]);  // end of file on the pipe releases both children at once
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    const std::string bytes = ReadFile(root.path + "/records/T146.csv");
    const std::string header = "时间,工具,年龄,";
    const std::string record60 = Abcd2Record("2026-12-08 09:05:03", "60");
    const std::string record61 = Abcd2Record("2026-12-08 09:05:03", "61");
    ASSERT_EQ(bytes.compare(0, 3 + header.size(), "\xEF\xBB\xBF" + header), 0);
    EXPECT_EQ(Count(bytes, "\xEF\xBB\xBF"), 1u);
    EXPECT_EQ(Count(bytes, header), 1u);
    EXPECT_EQ(Count(bytes, record60), 200u);
    EXPECT_EQ(Count(bytes, record61), 200u);
    const size_t headerEnd = bytes.find("结果\r\n") + std::string("结果\r\n").size();
    EXPECT_EQ(bytes.size(), headerEnd + 200 * record60.size() + 200 * record61.size()) << "nothing torn or extra";
}

}  // namespace
}  // namespace ovra
