// Processes saving into one log while one of them is killed again and again at random moments.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <string>

#include "tests/ui/ui_test_support.h"
#include "ui/frontend.h"

namespace ovra {
namespace {

constexpr int SteadySaves = 300;
constexpr int Kills = 60;

// Runs in a child: `count` saves, or saves until killed when `count` is negative.
[[noreturn]] void SaveInChild(const std::u16string& folder, const char16_t* age, int count) {
    auto* state = new FrontEnd;
    auto* outcome = new Outcome;
    StartFrontEnd(*state, ActiveTool());
    const FieldTexts fields = Abcd2Fields(age, u"130", u"80", u"1", u"1", u"0");
    Calculate(*state, fields.texts, *outcome);
    int failures = 0;
    for (int i = 0; count < 0 || i < count; ++i) {
        SaveRecord(*state, FixedTime, folder.c_str(), *outcome);
        if (outcome->noticeIcon != NoticeIcon::Information) ++failures;
    }
    _exit(failures == 0 ? 0 : 1);
}

TEST(KilledSave, EveryReportedRecordIsWholeUnderOneMarkAndHeader) {
    ScratchFolder root;
    const std::u16string folder = root.Path16() + u"/records";
    pid_t steady[2];
    const char16_t* ages[2] = {u"60", u"61"};
    for (int c = 0; c < 2; ++c) {
        steady[c] = fork();
        ASSERT_GE(steady[c], 0);
        if (steady[c] == 0) SaveInChild(folder, ages[c], SteadySaves);
    }
    std::mt19937 random(12345);
    for (int k = 0; k < Kills; ++k) {
        const pid_t victim = fork();
        ASSERT_GE(victim, 0);
        if (victim == 0) SaveInChild(folder, u"62", -1);
        usleep(static_cast<useconds_t>(random() % 4000));
        kill(victim, SIGKILL);
        waitpid(victim, nullptr, 0);
    }
    for (pid_t child : steady) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a steady save was refused";
    }

    const std::string bytes = ReadFile(root.path + "/records/T146.csv");
    const std::string header =
        "\xEF\xBB\xBF时间,工具,年龄,收缩压,舒张压,症状(2单侧无力/1言语/0其他),"
        "持续时间(0<10min/1 10-59/2≥60),糖尿病(1/0),结果\r\n";
    ASSERT_EQ(bytes.compare(0, header.size(), header), 0);
    const std::string records[3] = {Abcd2Record("2026-12-08 09:05:03", "60"), Abcd2Record("2026-12-08 09:05:03", "61"),
                                    Abcd2Record("2026-12-08 09:05:03", "62")};
    // Whole records only: a fragment (the start of a killed one's record ended by a CR LF) is counted as a fault.
    int counts[3] = {0, 0, 0};
    int fragments = 0;
    size_t at = header.size();
    while (at < bytes.size()) {
        int whole = -1;
        for (int r = 0; r < 3; ++r) {
            if (bytes.compare(at, records[r].size(), records[r]) == 0) whole = r;
        }
        if (whole >= 0) {
            ++counts[whole];
            at += records[whole].size();
            continue;
        }
        const size_t end = bytes.find("\r\n", at);
        ASSERT_NE(end, std::string::npos) << "torn bytes at " << at;
        const std::string part = bytes.substr(at, end - at);
        ASSERT_EQ(records[2].compare(0, part.size(), part), 0) << "not a record nor a fragment at " << at;
        ++fragments;
        at = end + 2;
    }
    EXPECT_EQ(counts[0], SteadySaves);
    EXPECT_EQ(counts[1], SteadySaves);
    RecordProperty("killed_records_whole", counts[2]);
    EXPECT_EQ(fragments, 0) << "a torn record is cut back by the next save, never left in front of another";
}

}  // namespace
}  // namespace ovra
