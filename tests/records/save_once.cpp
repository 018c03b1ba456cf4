// Saves one result into the folder given, once or `count` times, then prints the last notice it would show
// (caption, then text):
// ABCD2 with the inputs of the fault tests, any other tool with its defaults. Traced by sync_before_notice_test.sh to
// see the record reach the device before the notice; run two at once under Wine to see saves of two processes never
// interleave.
//   save_once <folder> [count]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "tests/ui/ui_test_support.h"
#include "ui/frontend.h"

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) return 2;
    const long count = argc == 3 ? std::strtol(argv[2], nullptr, 10) : 1;
    auto state = std::make_unique<ovra::FrontEnd>();
    auto outcome = std::make_unique<ovra::Outcome>();
    ovra::StartFrontEnd(*state, ovra::ActiveTool());
    ovra::FieldTexts fields = ovra::Abcd2Fields(u"60", u"130", u"80", u"1", u"1", u"0");
    char16_t defaults[ovra::MaxInputs][64];
    if (ovra::ActiveTool().id != 146) {
        for (int32_t i = 0; i < ovra::ActiveTool().inputCount; ++i) {
            ovra::DefaultFieldText(ovra::ActiveTool().inputs[i], defaults[i], 64);
            fields.texts[i] = defaults[i];
        }
    }
    ovra::Calculate(*state, fields.texts, *outcome);
    const std::u16string folder = std::filesystem::path(argv[1]).u16string();
    long saved = 0;
    while (saved < count) {
        ovra::SaveRecord(*state, ovra::FixedTime, folder.c_str(), *outcome);
        if (outcome->noticeIcon != ovra::NoticeIcon::Information) break;
        ++saved;
    }
    std::printf("NOTICE %s\n", ovra::Utf8(outcome->noticeCaption).c_str());
    std::printf("TEXT %s\n", ovra::Utf8(outcome->noticeText).c_str());
    return saved == count ? 0 : 1;
}
