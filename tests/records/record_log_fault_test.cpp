// The log under faults made by hand: another program holding it, a journal and leftovers of killed saves,
// the modes of what a save creates.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/ui/ui_test_support.h"
#include "ui/frontend.h"
#include "records/journal.h"
#include "records/append_record.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace ovra {
namespace {

// Another holder of the log: a lock of each kind other programs take, in another process on POSIX; on Windows a
// handle that shares nothing, or a lock over the file; on both, a spreadsheet's lock file beside the log.
struct Holder {
    const char* name;
    bool (*hold)(const std::string& path);
    void (*release)();
    bool waits;           // the save waits the whole bound before it gives up
    const char* lockFile;  // what the notice adds about the lock file, after its path
};

const char* const SpreadsheetLock = ",nurse,ward-pc,09.12.2026 10:00,file:///home/nurse/.config/libreoffice/4;";
std::string LockFileOf(const std::string& log) {
    const size_t slash = log.find_last_of("/\\");
    return log.substr(0, slash + 1) + ".~lock." + log.substr(slash + 1) + "#";
}
const Holder spreadsheet = {"a spreadsheet's lock file",
                            [](const std::string& path) {
                                WriteFile(LockFileOf(path), SpreadsheetLock);
                                return true;
                            },
                            [] {}, false, "（nurse@ward-pc）\r\n若该程序已不在运行，删除此锁文件后重试。"};

#ifdef _WIN32
HANDLE held = INVALID_HANDLE_VALUE;
bool Open(const std::string& path, DWORD share) {
    held = CreateFileW(std::filesystem::path(path).c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    return held != INVALID_HANDLE_VALUE;
}
const Holder holders[] = {
    {"share mode 0", [](const std::string& path) { return Open(path, 0); }, [] { CloseHandle(held); }, false, nullptr},
    {"LockFileEx",
     [](const std::string& path) {
         OVERLAPPED at{};
         return Open(path, FILE_SHARE_READ | FILE_SHARE_WRITE) &&
                LockFileEx(held, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &at) != 0;
     },
     [] { CloseHandle(held); }, true, nullptr},
    spreadsheet,
};
#else
// Another process takes the lock and keeps it until its end of the pipe is closed.
pid_t holderProcess = -1;
int releasePipe = -1;
template <int (*Lock)(int file)>
bool HoldInAnotherProcess(const std::string& path) {
    int ready[2];
    int release[2];
    if (pipe(ready) != 0 || pipe(release) != 0) return false;
    holderProcess = fork();
    if (holderProcess == 0) {
        const int file = open(path.c_str(), O_RDWR);
        const char held = file >= 0 && Lock(file) == 0 ? 'y' : 'n';
        close(release[1]);
        if (write(ready[1], &held, 1) == 1) {
            char end = 0;
            while (read(release[0], &end, 1) > 0) {
            }
        }
        _exit(0);
    }
    close(ready[1]);
    close(release[0]);
    releasePipe = release[1];
    char held = 'n';
    const bool answered = read(ready[0], &held, 1) == 1;
    close(ready[0]);
    return holderProcess > 0 && answered && held == 'y';
}
void ReleaseInAnotherProcess() {
    close(releasePipe);
    waitpid(holderProcess, nullptr, 0);
}
int Flock(int file) { return flock(file, LOCK_EX); }
int Lockf(int file) { return lockf(file, F_LOCK, 0); }
template <int Command>
int WholeFileLock(int file) {
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    return fcntl(file, Command, &whole);
}
const Holder holders[] = {
    {"flock", HoldInAnotherProcess<Flock>, ReleaseInAnotherProcess, true, nullptr},
    {"fcntl", HoldInAnotherProcess<WholeFileLock<F_SETLKW>>, ReleaseInAnotherProcess, true, nullptr},
    {"lockf", HoldInAnotherProcess<Lockf>, ReleaseInAnotherProcess, true, nullptr},
    {"OFD", HoldInAnotherProcess<WholeFileLock<F_OFD_SETLKW>>, ReleaseInAnotherProcess, true, nullptr},
    spreadsheet,
};
#endif

struct NamedFile {
    std::string name, bytes;
};

// Saves line\r\n into a folder holding `files`; returns what the folder holds afterwards.
std::vector<NamedFile> SaveAmong(const std::vector<NamedFile>& files, bool& saved) {
    ScratchFolder root;
    for (const NamedFile& f : files) WriteFile(root.path + "/" + f.name, f.bytes);
    SaveReport report{};
    saved = AppendRecordLine(root.Path16().c_str(), ActiveTool(), u"line\r\n", report) == SaveError::None;
    std::vector<NamedFile> after;
    for (const auto& entry : std::filesystem::directory_iterator(root.path))
        after.push_back({entry.path().filename().string(), ReadFile(entry.path().string())});
    return after;
}

// The journal a save killed after writing it leaves: `bytes` appended to the log at `before`, `identity`
// naming the log (the real one unless a test says otherwise).
std::string Journal(const FileIdentity& identity, size_t before, const std::string& bytes) {
    std::string text(JournalHeadCapacity + bytes.size(), '\0');
    const int32_t size = BuildJournal({identity, static_cast<int64_t>(before), bytes.data(), static_cast<int32_t>(bytes.size())},
                                      text.data(), static_cast<int32_t>(text.size()));
    text.resize(static_cast<size_t>(size));
    return text;
}

FileIdentity IdentityOf(const std::string& path) {
    LogFile file{-1, false};
    FileIdentity identity{};
    const std::u16string wide = std::filesystem::path(path).u16string();
    if (OpenLockedLog(wide.c_str(), std::chrono::steady_clock::now(), file) == LogOpen::Opened)
        LogIdentity(file, identity);
    CloseLog(file);
    return identity;
}

TEST(RecordLog, AJournalCutsOnlyTheTornAppendItNamesOfThisVeryLog) {
    const std::string head = Abcd2Head();
    const std::string record = Abcd2Record("2026-12-08 09:05:03", "60");
    const std::string foreign = "\xEF\xBB\xBF时间,工具,结果\r\n2026-01-01 00:00:00,x,舒张压=80\r\n";
    const auto real = [&](size_t before, const std::string& bytes) {
        return [=](const FileIdentity& id) { return Journal(id, before, bytes); };
    };
    const auto fixed = [](const std::string& text) { return [=](const FileIdentity&) { return text; }; };
    struct Case {
        const char* why;
        std::string log;
        std::function<std::string(const FileIdentity&)> journal;
        std::string after, sibling = "";  // T146.csv and T146-2.csv afterwards ("" for none)
    };
    const Case cases[] = {
        {"torn inside the quoted cell", head + record.substr(0, record.size() - 5), real(head.size(), record),
         head + "line\r\n"},
        {"torn after one byte", head + record.substr(0, 1), real(head.size(), record), head + "line\r\n"},
        {"killed before its first byte", head, real(head.size(), record), head + "line\r\n"},
        {"written whole, killed before the journal went", head + record, real(head.size(), record),
         head + record + "line\r\n"},
        {"a new log torn in its header", head.substr(0, 7), real(0, head + record), head + "line\r\n"},
        {"a row added by hand after the torn record", head + record.substr(0, 40) + "hand,row\r\n",
         real(head.size(), record), head + record.substr(0, 40) + "hand,row\r\nline\r\n"},
        {"bytes that are not the record's", head + "2026-12-08 10:00:00,", real(head.size(), record),
         head + "2026-12-08 10:00:00,\r\nline\r\n"},
        {"another file than the one it names", head + record.substr(0, 30),
         [&](const FileIdentity& id) { return Journal({id.volume, id.index + 1}, head.size(), record); },
         head + record.substr(0, 30) + "\r\nline\r\n"},
        {"a foreign log is never cut", foreign + "x", real(foreign.size(), "xyz"), foreign + "x", head + "line\r\n"},
        {"an older layout: sizes only", head + record.substr(0, 9),
         fixed("append " + std::to_string(head.size()) + " 9999999999\n"), head + record.substr(0, 9) + "\r\nline\r\n"},
        {"sizes that would empty the log", head, fixed("append 0 9999999999\n"), head + "line\r\n"},
        {"a negative size", head, fixed("append -5 100000\n"), head + "line\r\n"},
        {"a size past 64 bits", head + "x",
         fixed("ovra-journal 2\nlog 1 1\nbefore 99999999999999999999\nbytes 1\nx"), head + "x\r\nline\r\n"},
        {"a length that is not its bytes'", head + record.substr(0, 9),
         [&](const FileIdentity& id) { return Journal(id, head.size(), record) + "!"; },
         head + record.substr(0, 9) + "\r\nline\r\n"},
        {"torn itself", head + record.substr(0, 9),
         [&](const FileIdentity& id) { return Journal(id, head.size(), record).substr(0, 40); },
         head + record.substr(0, 9) + "\r\nline\r\n"},
        {"larger than any journal", head, fixed(std::string(1 << 16, 'j')), head + "line\r\n"},
    };
    for (const Case& c : cases) {
        ScratchFolder root;
        WriteFile(root.path + "/T146.csv", c.log);
        WriteFile(root.path + "/T146.csv.journal", c.journal(IdentityOf(root.path + "/T146.csv")));
        SaveReport report{};
        EXPECT_EQ(AppendRecordLine(root.Path16().c_str(), ActiveTool(), u"line\r\n", report), SaveError::None) << c.why;
        EXPECT_TRUE(ReadFile(root.path + "/T146.csv") == c.after) << c.why;
        EXPECT_EQ(std::filesystem::exists(root.path + "/T146-2.csv"), !c.sibling.empty()) << c.why;
        if (!c.sibling.empty()) {
            EXPECT_TRUE(ReadFile(root.path + "/T146-2.csv") == c.sibling) << c.why;
        }
        EXPECT_FALSE(std::filesystem::exists(root.path + "/T146.csv.journal")) << c.why;
    }
}

TEST(RecordLog, FilesBesideTheLogAreNeverTouched) {
    const std::string head = Abcd2Head();
    static const char* const names[] = {"T146.csv.4242.123456789.new", "T146.csv.1.2.new", "T146.csv.backup",
                                        "T146-2.csv", "T201.csv.4242.1.new"};
    for (const char* name : names) {
        bool saved = false;
        const std::vector<NamedFile> after = SaveAmong({{"T146.csv", head}, {name, "a user's own file"}}, saved);
        EXPECT_TRUE(saved);
        bool kept = false;
        for (const NamedFile& f : after) kept = kept || (f.name == name && f.bytes == "a user's own file");
        EXPECT_TRUE(kept) << name;
    }
}

// One window's front end: the ABCD2 result for an age calculated, then saved into a folder.
struct Window {
    std::unique_ptr<FrontEnd> state = std::make_unique<FrontEnd>();
    std::unique_ptr<Outcome> outcome = std::make_unique<Outcome>();
    Window() { StartFrontEnd(*state, ActiveTool()); }
    // How long the save took.
    std::chrono::steady_clock::duration Save(const char16_t* age, const std::string& folder) {
        const FieldTexts fields = Abcd2Fields(age, u"130", u"80", u"1", u"1", u"0");
        Calculate(*state, fields.texts, *outcome);
        const auto start = std::chrono::steady_clock::now();
        SaveRecord(*state, FixedTime, std::filesystem::path(folder).u16string().c_str(), *outcome);
        return std::chrono::steady_clock::now() - start;
    }
};

TEST(RecordLog, TheStatusNamesTheLogTheRecordWentTo) {
    ScratchFolder root;
    WriteFile(root.path + "/T146.csv", "\xEF\xBB\xBF时间,工具,结果\r\n");  // another layout's columns
    Window w;
    w.Save(u"60", root.path);
    EXPECT_EQ(Utf8(w.outcome->noticeCaption), "已保存");
    EXPECT_EQ(Utf8(w.state->statusText), "记录已保存：" + root.path + LogSeparator + "T146-2.csv");
    EXPECT_TRUE(ReadFile(root.path + "/T146-2.csv") == Abcd2Head() + Abcd2Record("2026-12-08 09:05:03", "60"));
}

TEST(RecordLog, ALogHeldByAnotherProgramFailsTheSaveWithinTheBoundThenWorks) {
    for (const Holder& h : holders) {
        ScratchFolder root;
        const std::string path = root.path + "/T146.csv";
        const std::string before = Abcd2Head() + Abcd2Record("2026-12-08 09:05:03", "60");
        WriteFile(path, before);
        ASSERT_TRUE(h.hold(path)) << h.name;
        Window w;
        const auto waited = w.Save(u"61", root.path);
        h.release();
        const std::string log = root.path + LogSeparator + "T146.csv";
        const std::string lockFile = h.lockFile == nullptr ? "" : "\r\n锁文件：" + LockFileOf(log) + h.lockFile;
        EXPECT_EQ(Utf8(w.outcome->noticeCaption), "保存失败") << h.name;
        EXPECT_EQ(Utf8(w.outcome->noticeText),
                  "无法写入记录文件：" + log + "\r\n记录文件正被其他程序占用，请关闭该程序后重试。" + lockFile)
            << h.name;
        EXPECT_EQ(Utf8(w.state->statusText), "记录保存失败");
        EXPECT_LT(waited, LockWaitLimit + std::chrono::seconds(2)) << h.name;
        EXPECT_GE(waited, h.waits ? LockWaitLimit : std::chrono::seconds(0)) << h.name;
        EXPECT_TRUE(ReadFile(path) == before) << h.name;

        std::filesystem::remove(LockFileOf(path));
        SaveRecord(*w.state, FixedTime, root.Path16().c_str(), *w.outcome);
        EXPECT_EQ(Utf8(w.outcome->noticeCaption), "已保存") << h.name;
        EXPECT_TRUE(ReadFile(path) == before + Abcd2Record("2026-12-08 09:05:03", "61")) << h.name;
    }
}

// What stands where the log or its journal should be, made in `folder`; `outside` is a folder beside it.
struct SpecialEntry {
    const char* why;
    const char* name;  // T146.csv or T146.csv.journal
    bool (*make)(const std::string& path, const std::string& outside);
    const char* kind;
};

const SpecialEntry specialEntries[] = {
    {"a folder as the journal", "T146.csv.journal",
     [](const std::string& path, const std::string&) { return std::filesystem::create_directory(path); }, "文件夹"},
    {"a folder as the log", "T146.csv",
     [](const std::string& path, const std::string&) { return std::filesystem::create_directory(path); }, "文件夹"},
#ifndef _WIN32
    {"a pipe as the journal", "T146.csv.journal",
     [](const std::string& path, const std::string&) { return mkfifo(path.c_str(), 0600) == 0; }, "命名管道"},
    {"a pipe as the log", "T146.csv",
     [](const std::string& path, const std::string&) { return mkfifo(path.c_str(), 0600) == 0; }, "命名管道"},
    {"a dangling link as the journal", "T146.csv.journal",
     [](const std::string& path, const std::string& outside) { return symlink((outside + "/made").c_str(), path.c_str()) == 0; },
     "符号链接"},
    {"a link out of the folder as the journal", "T146.csv.journal",
     [](const std::string& path, const std::string& outside) {
         WriteFile(outside + "/kept", "kept");
         return symlink((outside + "/kept").c_str(), path.c_str()) == 0;
     },
     "符号链接"},
    {"a dangling link as the log", "T146.csv",
     [](const std::string& path, const std::string& outside) { return symlink((outside + "/made").c_str(), path.c_str()) == 0; },
     "符号链接"},
#endif
};

TEST(RecordLog, AnythingButAFileWhereTheLogOrItsJournalShouldBeFailsAtOnceNamingIt) {
    for (const SpecialEntry& e : specialEntries) {
        ScratchFolder root;
        const std::string folder = root.path + "/records";
        const std::string outside = root.path + "/outside";
        std::filesystem::create_directories(folder);
        std::filesystem::create_directories(outside);
        const bool journal = std::string(e.name) != "T146.csv";
        const std::string before = Abcd2Head() + Abcd2Record("2026-12-08 09:05:03", "60");
        if (journal) WriteFile(folder + "/T146.csv", before);
        ASSERT_TRUE(e.make(folder + "/" + e.name, outside)) << e.why;
        Window w;
        EXPECT_LT(w.Save(u"61", folder), std::chrono::seconds(1)) << e.why;
        const std::string log = folder + LogSeparator + "T146.csv";
        EXPECT_EQ(Utf8(w.outcome->noticeText), "无法写入记录文件：" + log + "\r\n" + folder + LogSeparator + e.name +
                                                 " 不是普通文件（" + e.kind + "），请将其移走后重试。")
            << e.why;
        EXPECT_EQ(Utf8(w.state->statusText), "记录保存失败") << e.why;
        EXPECT_TRUE(!journal || ReadFile(folder + "/T146.csv") == before) << e.why;
        // Nothing made or changed outside the records folder.
        std::string left;
        for (const auto& entry : std::filesystem::directory_iterator(outside))
            left += entry.path().filename().string() + "=" + ReadFile(entry.path().string()) + ";";
        EXPECT_EQ(left, std::filesystem::exists(outside + "/kept") ? "kept=kept;" : "") << e.why;
    }
}

// A spreadsheet's way of writing back: the records given, without the mark, LF line ends, under a new inode.
void RewriteAsASpreadsheet(const std::string& log, const std::vector<std::string>& records) {
    std::string text = Abcd2Head().substr(3);
    for (const std::string& r : records) text += r;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) text.erase(at, 1);
    WriteFile(log + ".tmp", text);
    std::filesystem::rename(log + ".tmp", log);
}

TEST(RecordLog, RecordsAReplacedLogLacksAreRestoredBesideItNeverLostSilently) {
    const std::string r60 = Abcd2Record("2026-12-08 09:05:03", "60");
    const std::string r61 = Abcd2Record("2026-12-08 09:05:03", "61");
    struct Case {
        const char* why;
        void (*replace)(const std::string& log, const std::string& r60, const std::string& r61);
        int missing;
        std::string restored;           // the restored log's records
        const char* saved = "T146.csv";  // where the save after it went
    };
    const Case cases[] = {
        {"a spreadsheet kept every record",
         [](const std::string& log, const std::string& a, const std::string& b) { RewriteAsASpreadsheet(log, {a, b}); },
         0, ""},
        {"a spreadsheet dropped one",
         [](const std::string& log, const std::string& a, const std::string&) { RewriteAsASpreadsheet(log, {a}); }, 1,
         r61},
        {"the log moved away",
         [](const std::string& log, const std::string&, const std::string&) {
             std::filesystem::rename(log, log + ".archived");
         },
         2, r60 + r61},
        {"another layout saved over it",
         [](const std::string& log, const std::string&, const std::string&) {
             WriteFile(log + ".tmp", "时间,工具,结果\n");
             std::filesystem::rename(log + ".tmp", log);
         },
         2, r60 + r61, "T146-2.csv"},
    };
    for (const Case& c : cases) {
        ScratchFolder root;
        const std::string log = root.path + "/T146.csv";
        Window w;
        for (const char16_t* age : {u"60", u"61"}) w.Save(age, root.path);
        c.replace(log, r60, r61);
        const std::string into = root.path + "/" + c.saved;
        const std::string replaced = std::filesystem::exists(into) ? ReadFile(into) : Abcd2Head();
        w.Save(u"62", root.path);

        const std::string restored = root.path + LogSeparator + "T146-restored.csv";
        const std::string saved = "本次结果已追加保存到本地记录（CSV，可用 Excel 打开）。";
        const std::string count = std::to_string(c.missing);
        EXPECT_EQ(Utf8(w.outcome->noticeText),
                  c.missing == 0 ? saved
                                 : saved + "\r\n记录文件已被其他程序替换，本窗口此前保存的 " + count +
                                       " 条记录不在其中，已另存到：" + restored)
            << c.why;
        EXPECT_EQ(Utf8(w.state->statusText), c.missing == 0 ? "记录已保存：" + root.path + LogSeparator + c.saved
                                                           : "记录已保存；" + count + " 条缺失记录已另存到：" + restored)
            << c.why;
        EXPECT_TRUE(ReadFile(into) == replaced + Abcd2Record("2026-12-08 09:05:03", "62")) << c.why;
        EXPECT_EQ(std::filesystem::exists(root.path + "/T146-restored.csv"), c.missing > 0) << c.why;
        if (c.missing > 0) {
            EXPECT_TRUE(ReadFile(root.path + "/T146-restored.csv") == Abcd2Head() + c.restored) << c.why;
        }

        // The session goes on with the new log: a save after it restores nothing again.
        SaveRecord(*w.state, FixedTime, root.Path16().c_str(), *w.outcome);
        EXPECT_EQ(Utf8(w.outcome->noticeText), saved) << c.why;
    }
}

#ifndef _WIN32
TEST(RecordLog, FoldersAndLogsMadeHereArePrivateWhateverTheUmask) {
    struct Case {
        mode_t umask;
        bool exist;  // folders and log made beforehand with mode 0755 and 0644: left as they are
    };
    static const Case cases[] = {{022, false}, {0, false}, {0277, false}, {022, true}};
    for (const Case& c : cases) {
        ScratchFolder root;
        const std::string folder = root.path + "/OvraMedSuite/records";
        if (c.exist) {
            std::filesystem::create_directories(folder);
            chmod((root.path + "/OvraMedSuite").c_str(), 0755);
            chmod(folder.c_str(), 0755);
            WriteFile(folder + "/T146.csv", Abcd2Head());
            chmod((folder + "/T146.csv").c_str(), 0644);
        }
        const mode_t old = umask(c.umask);
        SaveReport report{};
        const SaveError saved =
            AppendRecordLine(std::filesystem::path(folder).u16string().c_str(), ActiveTool(), u"line\r\n", report);
        umask(old);
        EXPECT_EQ(saved, SaveError::None);
        struct stat log {};
        struct stat made {};
        struct stat chain {};
        ASSERT_EQ(stat((folder + "/T146.csv").c_str(), &log), 0);
        ASSERT_EQ(stat(folder.c_str(), &made), 0);
        ASSERT_EQ(stat((root.path + "/OvraMedSuite").c_str(), &chain), 0);
        EXPECT_EQ(log.st_mode & 0777, c.exist ? 0644u : 0600u) << c.umask;
        EXPECT_EQ(made.st_mode & 0777, c.exist ? 0755u : 0700u) << c.umask;
        EXPECT_EQ(chain.st_mode & 0777, c.exist ? 0755u : 0700u) << c.umask;
    }
}
#endif

}  // namespace
}  // namespace ovra
