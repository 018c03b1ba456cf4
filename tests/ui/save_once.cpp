// Saves the ABCD2 defaults once into the folder given, then prints the notice it would show; traced by
// sync_before_notice_test.sh to see the record reach the device before the notice.
#include <cstdio>
#include <filesystem>
#include <memory>

#include "tests/ui/ui_test_support.h"
#include "ui/frontend.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    auto state = std::make_unique<ovra::FrontEnd>();
    auto outcome = std::make_unique<ovra::Outcome>();
    ovra::StartFrontEnd(*state, ovra::ActiveTool());
    const ovra::FieldTexts fields = ovra::Abcd2Fields(u"60", u"130", u"80", u"1", u"1", u"0");
    ovra::Calculate(*state, fields.texts, *outcome);
    ovra::SaveRecord(*state, ovra::FixedTime, std::filesystem::path(argv[1]).u16string().c_str(), *outcome);
    std::printf("NOTICE %s\n", ovra::Utf8(outcome->noticeCaption).c_str());
    return outcome->noticeIcon == ovra::NoticeIcon::Information ? 0 : 1;
}
