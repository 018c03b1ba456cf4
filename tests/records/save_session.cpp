// One window's session of saves, driven line by line from stdin, for the checks that change the log between
// two saves of the same session (a spreadsheet that has it open, then saves it over the log):
//   save_session <folder>
// "save" calculates ABCD2 with the inputs of the fault tests, the age 60 at the first save and one more at
// each next one (so each record differs), saves, and prints three lines:
//   NOTICE <caption>
//   TEXT <notice text, each line end shown as \n>
//   STATUS <status line>
// "quit" or the end of the input ends the session.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "tests/ui/ui_test_support.h"
#include "ui/frontend.h"

namespace {

// One line per field of the answer, whatever line ends the notice holds.
std::string OneLine(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i] == '\r' || text[i] == '\n' ? std::string("\\n") : std::string(1, text[i]);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    auto state = std::make_unique<ovra::FrontEnd>();
    auto outcome = std::make_unique<ovra::Outcome>();
    ovra::StartFrontEnd(*state, ovra::ActiveTool());
    const std::u16string folder = std::filesystem::path(argv[1]).u16string();
    int saves = 0;
    for (std::string command; std::getline(std::cin, command) && command != "quit";) {
        if (command != "save") return 2;
        // The ages stay within the field's 0 to 130, so a long session still calculates.
        const std::string age = std::to_string(60 + saves++ % 71);
        const std::u16string age16(age.begin(), age.end());
        const ovra::FieldTexts fields = ovra::Abcd2Fields(age16.c_str(), u"130", u"80", u"1", u"1", u"0");
        ovra::Calculate(*state, fields.texts, *outcome);
        ovra::SaveRecord(*state, ovra::FixedTime, folder.c_str(), *outcome);
        std::printf("NOTICE %s\nTEXT %s\nSTATUS %s\n", ovra::Utf8(outcome->noticeCaption).c_str(),
                    OneLine(ovra::Utf8(outcome->noticeText)).c_str(), ovra::Utf8(state->statusText).c_str());
        std::fflush(stdout);
    }
    return 0;
}
