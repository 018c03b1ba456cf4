// A small file system that fills in the middle of a record.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cstdio>
#include <filesystem>
#include <iterator>
#include <memory>
#include <string>

#include "tests/ui/ui_test_support.h"
#include "ui/frontend.h"

namespace ovra {
namespace {

struct SmallDisk {
    ScratchFolder root;
    bool mounted = mount("tmpfs", root.path.c_str(), "tmpfs", 0, "size=64k") == 0;
    ~SmallDisk() {
        if (mounted) umount2(root.path.c_str(), MNT_DETACH);
    }
    // Takes every free byte, so that only the slack of the log's last page is left, and then gives back
    // `pages` whole pages.
    void Fill(int pages = 0) const {
        std::FILE* filler = std::fopen((root.path + "/filler").c_str(), "wb");
        setvbuf(filler, nullptr, _IONBF, 0);
        const std::string block(4096, 'f');
        while (std::fwrite(block.data(), 1, block.size(), filler) == block.size()) {
        }
        while (std::fwrite("f", 1, 1, filler) == 1) {
        }
        std::fclose(filler);
        const auto size = std::filesystem::file_size(root.path + "/filler");
        std::filesystem::resize_file(root.path + "/filler", size - static_cast<uintmax_t>(pages) * 4096 - size % 4096);
    }
};

struct Saver {
    std::unique_ptr<FrontEnd> state = std::make_unique<FrontEnd>();
    std::unique_ptr<Outcome> outcome = std::make_unique<Outcome>();
    Saver() {
        StartFrontEnd(*state, ActiveTool());
        const FieldTexts fields = Abcd2Fields(u"60", u"130", u"80", u"1", u"1", u"0");
        Calculate(*state, fields.texts, *outcome);
    }
    bool Save(const std::u16string& folder) {
        SaveRecord(*state, FixedTime, folder.c_str(), *outcome);
        return outcome->noticeIcon == NoticeIcon::Information;
    }
};

TEST(FullDisk, ARecordThatDoesNotFitLeavesTheLogAsItWasAndTheNextOneIsWhole) {
    // No page left: the journal does not fit, nothing is appended. One page: the journal takes it and the record
    // runs out of room half way.
    for (int freePages : {0, 1}) {
        SmallDisk disk;
        if (!disk.mounted) GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
        const std::string path = disk.root.path + "/T146.csv";
        // A header and a line that end 60 bytes before a page boundary: the record starts there and runs out.
        std::string before = Abcd2Head();
        before += std::string(4096 * 2 - 60 - before.size() - 2, 'x') + "\r\n";
        WriteFile(path, before);
        disk.Fill(freePages);

        Saver saver;
        EXPECT_FALSE(saver.Save(disk.root.Path16())) << freePages;
        EXPECT_EQ(Utf8(saver.outcome->noticeCaption), "保存失败");
        EXPECT_EQ(Utf8(saver.state->statusText), "记录保存失败");
        EXPECT_TRUE(ReadFile(path) == before) << "the part that reached the disk is taken back";

        std::filesystem::remove(disk.root.path + "/filler");
        EXPECT_TRUE(saver.Save(disk.root.Path16()));
        EXPECT_TRUE(ReadFile(path) == before + Abcd2Record("2026-12-08 09:05:03", "60"));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(disk.root.path), {}), 1) << "only the log";
    }
}

TEST(FullDisk, AFirstSaveThatDoesNotFitLeavesNoFile) {
    SmallDisk disk;
    if (!disk.mounted) GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
    disk.Fill();
    Saver saver;
    const std::string folder = disk.root.path + "/records";
    EXPECT_FALSE(saver.Save(std::filesystem::path(folder).u16string()));
    ASSERT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_TRUE(std::filesystem::is_empty(folder)) << "neither the log nor a private file is left";
}

}  // namespace
}  // namespace ovra
