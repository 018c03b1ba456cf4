#include "ui/frontend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "evaluate/evaluate.h"
#include "reports/reports.h"
#include "tests/ui/ui_test_support.h"
#include "tool/catalogue/catalogue.h"
#include "ui/window_colours.h"

namespace ovra {
namespace {

const std::string DefaultReport = "ABCD2：3 分\r\n";

struct Session {
    std::unique_ptr<FrontEnd> state = std::make_unique<FrontEnd>();
    std::unique_ptr<Outcome> outcome = std::make_unique<Outcome>();
    explicit Session(const Tool& tool = ActiveTool()) { StartFrontEnd(*state, tool); }
    Outcome& Calculate(const FieldTexts& fields) {
        ovra::Calculate(*state, fields.texts, *outcome);
        return *outcome;
    }
    Outcome& CalculateDefaults() { return Calculate(Abcd2Fields(u"60", u"130", u"80", u"1", u"1", u"0")); }
    // As a shell does it: Copy, then what the clipboard did.
    Outcome& Copy(bool clipboardSet = true) {
        CopyResult(*state, *outcome);
        if (outcome->setClipboard) FinishCopy(*state, clipboardSet, *outcome);
        return *outcome;
    }
    Outcome& Reset() {
        ResetInputs(*state, *outcome);
        return *outcome;
    }
    Outcome& Save(const std::u16string& folder) {
        SaveRecord(*state, FixedTime, folder.c_str(), *outcome);
        return *outcome;
    }
};

TEST(FrontEnd, StartsReadyWithoutAResult) {
    Session s;
    EXPECT_EQ(Utf8(s.state->statusText), "就绪：填写参数后按 F5 或点击“计算”");
    EXPECT_EQ(s.state->lastLevel, 0);
    EXPECT_EQ(s.state->lastReport[0], 0);
    EXPECT_EQ(VerdictColour(*s.state), Colours.verdictNoResult);
}

TEST(FrontEnd, CopyAndSaveRefuseBeforeAnyResult) {
    Session s;
    ScratchFolder folder;
    const std::string status = Utf8(s.state->statusText);
    Outcome& copy = s.Copy();
    EXPECT_EQ(copy.noticeIcon, NoticeIcon::Information);
    EXPECT_EQ(Utf8(copy.noticeCaption), "提示");
    EXPECT_EQ(Utf8(copy.noticeText), "请先点击“计算”生成结果。");
    EXPECT_FALSE(copy.setClipboard);
    Outcome& save = s.Save(folder.Path16());
    EXPECT_EQ(save.noticeIcon, NoticeIcon::Information);
    EXPECT_EQ(Utf8(save.noticeCaption), "提示");
    EXPECT_EQ(Utf8(save.noticeText), "请先点击“计算”生成结果，再保存记录。");
    EXPECT_EQ(Utf8(s.state->statusText), status);
    EXPECT_TRUE(std::filesystem::is_empty(folder.path));
}

TEST(FrontEnd, CalculateShowsTheResultAndLeavesTheFocusWhereItWas) {
    Session s;
    Outcome& o = s.CalculateDefaults();
    EXPECT_EQ(o.noticeIcon, NoticeIcon::None);
    EXPECT_TRUE(o.showResult);
    EXPECT_EQ(Utf8(o.report), DefaultReport);
    EXPECT_EQ(Utf8(o.verdict), "低危，门诊随访");
    EXPECT_EQ(Utf8(s.state->lastReport), DefaultReport);
    EXPECT_EQ(Utf8(s.state->copyText), DefaultReport + "—— 低危，门诊随访");
    EXPECT_EQ(Utf8(s.state->statusText), "计算完成  ABCD2 评分");
    EXPECT_EQ(s.state->lastLevel, 0);
    EXPECT_EQ(o.focus, FocusTarget::Unchanged);
    const double expected[] = {60, 130, 80, 1, 1, 0};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(s.state->inputValues[i], expected[i]);
}

TEST(FrontEnd, LevelFollowsTheRuleThatFires) {
    struct Case {
        FieldTexts fields;
        int32_t level;
        uint32_t colour;
    };
    const Case cases[] = {
        {Abcd2Fields(u"60", u"140", u"80", u"1", u"1", u"0"), 2, 0xD66C00},  // 4 points
        {Abcd2Fields(u"70", u"150", u"95", u"2", u"2", u"1"), 3, 0xBE1E2D},  // 7 points
        {Abcd2Fields(u"0", u"40", u"20", u"0", u"0", u"0"), 0, 0x008060},    // the lowest accepted values
    };
    for (const Case& c : cases) {
        Session s;
        s.Calculate(c.fields);
        EXPECT_EQ(s.state->lastLevel, c.level);
        EXPECT_EQ(VerdictColourFromLevel(s.state->lastLevel), c.colour);
        EXPECT_EQ(VerdictColour(*s.state), c.colour);
    }
    EXPECT_EQ(VerdictColourFromLevel(1), 0xB08400u);
    EXPECT_EQ(VerdictColourFromLevel(-1), 0x008060u);
}

TEST(FrontEnd, CopyAsksForTitleAndCopyTextAndIsShownDoneOnlyWhenTheClipboardHoldsIt) {
    struct Case {
        bool clipboardSet;
        NoticeIcon icon;
        const char* caption;
        const char* notice;
        const char* status;
    };
    static const Case cases[] = {
        {true, NoticeIcon::None, "", "", "结果已复制到剪贴板"},
        {false, NoticeIcon::Warning, "复制失败", "结果未能复制到剪贴板：剪贴板可能正被其他程序占用，请稍后重试。",
         "复制失败：结果未复制到剪贴板"},
    };
    for (const Case& c : cases) {
        Session s;
        s.CalculateDefaults();
        CopyResult(*s.state, *s.outcome);
        EXPECT_TRUE(s.outcome->setClipboard);
        EXPECT_EQ(Utf8(s.outcome->clipboard), "ABCD2 评分\r\n" + DefaultReport + "—— 低危，门诊随访");
        FinishCopy(*s.state, c.clipboardSet, *s.outcome);
        EXPECT_EQ(s.outcome->noticeIcon, c.icon) << c.status;
        EXPECT_EQ(Utf8(s.outcome->noticeCaption), c.caption);
        EXPECT_EQ(Utf8(s.outcome->noticeText), c.notice);
        EXPECT_EQ(Utf8(s.state->statusText), c.status);
    }
}

TEST(FrontEnd, ResetClearsTheResultButKeepsCopyTextAndValues) {
    Session s;
    s.Calculate(Abcd2Fields(u"70", u"150", u"95", u"2", u"2", u"1"));
    const std::string copyText = Utf8(s.state->copyText);
    Outcome& o = s.Reset();
    EXPECT_TRUE(o.restoreFields);
    EXPECT_TRUE(o.showResult);
    EXPECT_EQ(Utf8(o.report), "");
    EXPECT_EQ(Utf8(o.verdict), "填写左侧参数，点击“计算”");
    EXPECT_EQ(Utf8(s.state->statusText), "已恢复默认值");
    EXPECT_EQ(s.state->lastLevel, 0);
    EXPECT_EQ(s.state->lastReport[0], 0);
    EXPECT_EQ(VerdictColour(*s.state), Colours.verdictNoResult);
    EXPECT_EQ(Utf8(s.state->copyText), copyText);
    EXPECT_EQ(s.state->inputValues[0], 70);

    ScratchFolder folder;
    EXPECT_FALSE(s.Copy().setClipboard);
    EXPECT_EQ(Utf8(s.outcome->noticeText), "请先点击“计算”生成结果。");
    EXPECT_EQ(Utf8(s.Save(folder.Path16()).noticeText), "请先点击“计算”生成结果，再保存记录。");
    EXPECT_TRUE(std::filesystem::is_empty(folder.path));
}

TEST(FrontEnd, AboutListsTheToolsOwnTexts) {
    Session s;
    ShowAbout(*s.state, *s.outcome);
    const Tool& tool = ActiveTool();
    EXPECT_EQ(s.outcome->noticeIcon, NoticeIcon::Information);
    EXPECT_EQ(Utf8(s.outcome->noticeCaption), "关于本工具");
    EXPECT_EQ(Utf8(s.outcome->noticeText),
              Utf8(tool.title) + "\r\n\r\n分类：" + Utf8(tool.category) + "\r\n参考依据：" + Utf8(tool.reference) +
                  "\r\n\r\n本工具为临床辅助计算/记录工具，结果不能替代医师诊疗判断，\r\n"
                  "具体用药与处置请结合患者实际情况及本院规范执行。\r\n\r\n版本 V1.0    官网：" +
                  Utf8(WebAddress));
}

bool SameState(const FrontEnd& a, const FrontEnd& b) {
    return a.tool == b.tool && a.lastLevel == b.lastLevel && Utf8(a.lastReport) == Utf8(b.lastReport) &&
           Utf8(a.copyText) == Utf8(b.copyText) && Utf8(a.statusText) == Utf8(b.statusText) &&
           std::memcmp(a.inputValues, b.inputValues, sizeof a.inputValues) == 0;
}

TEST(FrontEnd, RejectedFieldLeavesEveryEarlierResultUntouched) {
    static const char16_t* const rejected[] = {u"abc",  u"60abc",    u"1e999", u"-1e309", u"inf",
                                               u"-inf", u"INFINITY", u"nan",   u"-nan"};
    for (int field = 0; field < 6; ++field) {
        for (const char16_t* bad : rejected) {
            Session s;
            s.Calculate(Abcd2Fields(u"70", u"150", u"95", u"2", u"2", u"1"));
            s.Copy();
            const auto before = std::make_unique<FrontEnd>(*s.state);
            const char16_t* texts[6] = {u"61", u"120", u"70", u"0", u"0", u"0"};
            texts[field] = bad;
            Outcome& o = s.Calculate(Abcd2Fields(texts[0], texts[1], texts[2], texts[3], texts[4], texts[5]));
            EXPECT_EQ(o.noticeIcon, NoticeIcon::Warning);
            EXPECT_EQ(Utf8(o.noticeCaption), "输入有误");
            EXPECT_EQ(Utf8(o.noticeText), "第 " + std::to_string(field + 1) + " 项“" +
                                              Utf8(ActiveTool().inputs[field].label) + "”请输入数字。");
            EXPECT_EQ(o.focus, FocusTarget::Field);
            EXPECT_EQ(o.focusField, field);
            EXPECT_FALSE(o.showResult);
            EXPECT_TRUE(SameState(*before, *s.state)) << Utf8(bad) << " in " << field;
            EXPECT_EQ(Utf8(s.Copy().clipboard), "ABCD2 评分\r\n" + Utf8(before->copyText));
        }
    }
}

TEST(FrontEnd, InputChecksAcceptTheirBoundsAndRefuseOneStepPast) {
    struct Case {
        int field;
        std::vector<const char16_t*> taken, refused;
        const char* accepted;
    };
    const Case cases[] = {
        {0, {u"0", u"130", u"-0", u"1e-300"}, {u"130.01", u"131", u"-0.01"}, "0 至 130 之间的数"},
        {1, {u"40", u"300"}, {u"39.99", u"30", u"300.01"}, "40 至 300 之间的数"},
        {2, {u"20", u"200"}, {u"19.99", u"200.01"}, "20 至 200 之间的数"},
        {3, {u"2.0", u" 2 ", u"-0"}, {u"1.5", u"5", u"-1", u"3", u"1e-300", u"", u"   "}, "0、1 或 2"},
        {4, {u"2.0"}, {u"2.5", u""}, "0、1 或 2"},
        {5, {u"1"}, {u"0.5", u"-1", u"2"}, "0 或 1"},
    };
    for (const Case& c : cases) {
        for (const char16_t* text : c.taken) {
            Session s;
            const char16_t* texts[6] = {u"61", u"120", u"70", u"0", u"0", u"0"};
            texts[c.field] = text;
            Outcome& o = s.Calculate(Abcd2Fields(texts[0], texts[1], texts[2], texts[3], texts[4], texts[5]));
            EXPECT_EQ(o.noticeIcon, NoticeIcon::None) << Utf8(text) << ": " << Utf8(o.noticeText);
            EXPECT_TRUE(o.showResult) << Utf8(text);
            const double value = std::stod(Utf8(text));
            EXPECT_EQ(s.state->inputValues[c.field], value) << Utf8(text);
            EXPECT_EQ(std::signbit(s.state->inputValues[c.field]), std::signbit(value)) << Utf8(text);
        }
        for (const char16_t* text : c.refused) {
            Session s;
            s.Calculate(Abcd2Fields(u"70", u"150", u"95", u"2", u"2", u"1"));
            s.Copy();
            const auto before = std::make_unique<FrontEnd>(*s.state);
            const char16_t* texts[6] = {u"61", u"120", u"70", u"0", u"0", u"0"};
            texts[c.field] = text;
            Outcome& o = s.Calculate(Abcd2Fields(texts[0], texts[1], texts[2], texts[3], texts[4], texts[5]));
            EXPECT_EQ(o.noticeIcon, NoticeIcon::Warning) << Utf8(text);
            EXPECT_EQ(Utf8(o.noticeCaption), "输入有误");
            EXPECT_EQ(Utf8(o.noticeText), "第 " + std::to_string(c.field + 1) + " 项“" +
                                              Utf8(ActiveTool().inputs[c.field].label) + "”请输入" + c.accepted + "。");
            EXPECT_EQ(o.focus, FocusTarget::Field);
            EXPECT_EQ(o.focusField, c.field);
            EXPECT_FALSE(o.showResult);
            EXPECT_TRUE(SameState(*before, *s.state)) << Utf8(text) << " in field " << c.field;
        }
    }
}

TEST(FrontEnd, EveryFieldReadsBeforeTheFirstFailingCheckIsNamed) {
    struct Case {
        FieldTexts fields;
        const char* message;
    };
    const Case cases[] = {
        {Abcd2Fields(u"131", u"130", u"80", u"5", u"1", u"x"), "第 6 项“糖尿病(1/0)”请输入数字。"},
        {Abcd2Fields(u"60", u"30", u"80", u"5", u"1", u"0"), "第 2 项“收缩压”请输入40 至 300 之间的数。"},
    };
    for (const Case& c : cases) {
        Session s;
        EXPECT_EQ(Utf8(s.Calculate(c.fields).noticeText), c.message);
    }
}

TEST(FrontEnd, ChecksWithoutAcceptedTextOrThatCannotEvaluateStillRefuse) {
    static const InputField inputs[] = {
        {"n", u"数量", nullptr, 1, "n>0"},
        {"m", u"份数", nullptr, 1},
        {"k", u"批号", nullptr, 1, "k>0&&k<zz", u"正数"},
    };
    static const OutputField outputs[] = {{"sum", u"合计", nullptr, "n+m", "f0"}};
    const Tool checked{902, u"检查", nullptr, u"测试", u"无", nullptr, 2, inputs, 1, outputs, 0, nullptr, 0};
    struct Case {
        const char16_t* n;
        const char16_t* m;
        const char* message;  // "": accepted
    };
    static const Case cases[] = {
        {u"0", u"1", "第 1 项“数量”请输入允许范围内的数。"},
        {u"", u"1", "第 1 项“数量”请输入允许范围内的数。"},
        {u"2", u"", ""},  // without a check a blank field reads 0
    };
    for (const Case& c : cases) {
        Session s(checked);
        const char16_t* fields[] = {c.n, c.m};
        Calculate(*s.state, fields, *s.outcome);
        EXPECT_EQ(Utf8(s.outcome->noticeText), c.message) << Utf8(c.n) << "," << Utf8(c.m);
    }
    Session blank(checked);
    const char16_t* fields[] = {u"2", u"  "};
    Calculate(*blank.state, fields, *blank.outcome);
    EXPECT_EQ(Utf8(blank.outcome->report), "合计：2\r\n");

    const Tool broken{903, u"检查", nullptr, u"测试", u"无", nullptr, 1, inputs + 2, 1, outputs, 0, nullptr, 0};
    Session s(broken);
    const char16_t* one[] = {u"5"};
    Calculate(*s.state, one, *s.outcome);
    EXPECT_EQ(Utf8(s.outcome->noticeText), "第 1 项“批号”请输入正数。");
}

TEST(FrontEnd, DefaultFieldTextsUseSixSignificantDigits) {
    struct Case {
        double value;
        const char* text;
    };
    static const Case cases[] = {{60, "60"}, {0.5, "0.5"}, {1234567, "1.23457e+06"}, {0.0001, "0.0001"}, {-2, "-2"}};
    for (const Case& c : cases) {
        char16_t text[64];
        DefaultFieldText(InputField{"x", u"x", nullptr, c.value}, text, 64);
        EXPECT_EQ(Utf8(text), c.text);
    }
}

TEST(FrontEnd, LinesBuiltFromTheTool) {
    char16_t text[LineTextCapacity];
    SubLineText(ActiveTool(), text, LineTextCapacity);
    EXPECT_EQ(Utf8(text), "神经科  ·  短暂性脑缺血发作后卒中风险");
    ReferenceLineText(ActiveTool(), text, LineTextCapacity);
    EXPECT_EQ(Utf8(text), "参考依据：" + Utf8(ActiveTool().reference));
    Tool bare = ActiveTool();
    bare.subtitle = nullptr;
    SubLineText(bare, text, LineTextCapacity);
    EXPECT_EQ(Utf8(text), "神经科  ·  ");
}

// Every unit 10 pixels wide in the label font, 8 in the small font.
int32_t UnitWidth(const void*, const char16_t*, int32_t length, bool smallFont) {
    return length * (smallFont ? 8 : 10);
}

TEST(FrontEnd, LabelsTooWideShrinkThenBreakBeforeTheirParenthesis) {
    struct Case {
        const char16_t* label;
        int32_t box;
        LabelLayout layout;
    };
    static const Case cases[] = {
        {u"abc", 30, {false, 0, true}},
        {u"abcd", 32, {true, 0, true}},
        {u"ab(cdef)", 48, {true, 2, true}},
        {u"ab（cdef）", 48, {true, 2, true}},
        {u"abcdefgh(ij)", 48, {true, 6, true}},  // the part before "(" is too wide: as much as fits
        {u"(abcdefgh", 40, {true, 5, true}},     // a leading "(" is no place to break
        {u"ab\U0001F600cd", 24, {true, 2, false}},
        {u"abcdefghijkl", 40, {true, 5, false}},
        {u"", 0, {false, 0, true}},
    };
    for (const Case& c : cases) {
        const LabelLayout layout = LayOutLabel(c.label, c.box, UnitWidth, nullptr);
        EXPECT_EQ(layout.smallFont, c.layout.smallFont) << Utf8(c.label);
        EXPECT_EQ(layout.breakAt, c.layout.breakAt) << Utf8(c.label);
        EXPECT_EQ(layout.fits, c.layout.fits) << Utf8(c.label);
    }
}

const InputField customInputs[] = {{"n", u"数量", nullptr, 1}};

Tool CustomReportTool(int32_t number) {
    return Tool{900, u"自定义报告", nullptr, u"测试", u"无", nullptr, 1, customInputs, 0, nullptr, 0, nullptr, number};
}

TEST(FrontEnd, TheLongestReportOfTheFamilyIsShownAndCopiedWhole) {
    // 40 nurses over 31 days, as the builder writes it into a buffer with room to spare.
    const double values[MaxInputs] = {40, 31};
    std::vector<char16_t> built(65536);
    char16_t verdict[VerdictCapacity];
    BuildCustomReport(tool201.customReport, tool201, values, built.data(), 65536, verdict, VerdictCapacity);
    const std::string whole = Utf8(built.data());
    ASSERT_EQ(std::u16string(built.data()).size(), 6390u);
    Session s(tool201);
    const char16_t* fields[] = {u"40", u"31"};
    Calculate(*s.state, fields, *s.outcome);
    EXPECT_EQ(Utf8(s.outcome->report), whole);
    EXPECT_EQ(Utf8(s.state->lastReport), whole);
    EXPECT_EQ(Utf8(s.state->statusText), "计算完成  护士排班表");
    EXPECT_EQ(Utf8(s.Copy().clipboard), "护士排班表\r\n" + whole);

    const Tool missingTool = CustomReportTool(99);
    Session missing(missingTool);
    const char16_t* one[] = {u"1"};
    Calculate(*missing.state, one, *missing.outcome);
    EXPECT_EQ(Utf8(missing.state->copyText), "（该工具暂无自定义报告）");
}

TEST(FrontEnd, AReportThatFillsItsBufferEndsWithALineThatSaysItWasCut) {
    const std::string cutLine = "……（报告过长，此后内容已截去）\r\n";
    struct Case {
        std::u16string built;  // as the builder left it in `capacity` units
        int32_t capacity;
        std::string shown;  // "": not cut, left as it was
    };
    const Case cases[] = {
        {u"ab\r\ncd", 8, ""},
        {u"ab\r\ncde", 8, "ab\r\ncde\r\n" + cutLine},
        {u"ab\r\n", 5, "ab\r\n" + cutLine},
        {u"ab\r", 4, "ab\r\n" + cutLine},                                     // a CR LF parted
        {std::u16string(u"a\U0001F600").substr(0, 2), 3, "a\r\n" + cutLine},  // a surrogate pair parted
    };
    for (const Case& c : cases) {
        char16_t report[64] = {};
        std::copy(c.built.begin(), c.built.end(), report);
        const bool cut = MarkCutReport(report, c.capacity, c.capacity + CutLineCapacity);
        EXPECT_EQ(cut, !c.shown.empty()) << Utf8(c.built);
        EXPECT_EQ(Utf8(report), c.shown.empty() ? Utf8(c.built) : c.shown) << Utf8(c.built);
    }
}

TEST(FrontEnd, ToolWithAnEmptyReportNeverHasAResult) {
    const Tool empty{901, u"空", nullptr, u"测试", u"无", nullptr, 1, customInputs, 0, nullptr, 0, nullptr, 0};
    Session s(empty);
    const char16_t* fields[] = {u"1"};
    Calculate(*s.state, fields, *s.outcome);
    EXPECT_FALSE(s.Copy().setClipboard);
    EXPECT_EQ(Utf8(s.outcome->noticeCaption), "提示");
}

TEST(FrontEnd, SaveWritesTheRecordAndReportsThePath) {
    Session s;
    ScratchFolder root;
    const std::u16string folder = root.Path16() + u"/OvraMedSuite/records";
    s.CalculateDefaults();
    Outcome& o = s.Save(folder);
    const std::string path = root.path + "/OvraMedSuite/records" + LogSeparator + "T146.csv";
    EXPECT_EQ(o.noticeIcon, NoticeIcon::Information);
    EXPECT_EQ(Utf8(o.noticeCaption), "已保存");
    EXPECT_EQ(Utf8(o.noticeText), "本次结果已追加保存到本地记录（CSV，可用 Excel 打开）。");
    EXPECT_EQ(Utf8(s.state->statusText), "记录已保存：" + path);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(Utf8(s.state->lastReport), DefaultReport) << "saving keeps the result";
}

TEST(FrontEnd, SaveIntoAnUnwritableFolderIsShownAsAFailure) {
    Session s;
    ScratchFolder root;
    // A regular file where a folder must go cannot be worked around, even by an administrator.
    std::filesystem::path blocker = std::filesystem::path(root.path + "/blocker");
    { std::ofstream(blocker) << "x"; }
    s.CalculateDefaults();
    const std::u16string folder = blocker.u16string() + u"/records";
    Outcome& o = s.Save(folder);
    EXPECT_EQ(o.noticeIcon, NoticeIcon::Warning);
    EXPECT_EQ(Utf8(o.noticeCaption), "保存失败");
    EXPECT_EQ(Utf8(o.noticeText), "无法写入记录文件：" + blocker.string() + "/records" + LogSeparator + "T146.csv");
    EXPECT_EQ(Utf8(s.state->statusText), "记录保存失败");

    Outcome& noFolder = s.Save(u"");
    EXPECT_EQ(Utf8(noFolder.noticeCaption), "保存失败");
    EXPECT_EQ(Utf8(s.state->statusText), "记录保存失败");
}

TEST(FrontEnd, ARecordsPathPastItsBufferIsRefusedNeverCut) {
    Session s;
    ScratchFolder root;
    s.CalculateDefaults();
    // Folder components of at most 200 units, the whole file path 519 units ("/T146.csv" is 9).
    const std::string sep(1, static_cast<char>(std::filesystem::path::preferred_separator));
    std::string folder = root.path + sep + std::string(200, 'a') + sep + std::string(200, 'b') + sep;
    folder += std::string(510 - folder.size(), 'c');
    const std::u16string tooLong = std::filesystem::path(folder + "d").u16string();
    Outcome& refused = s.Save(tooLong);
    EXPECT_EQ(Utf8(refused.noticeCaption), "保存失败");
    EXPECT_EQ(Utf8(refused.noticeText), "无法写入记录文件：" + folder + "d" + sep + "T146.csv");
    EXPECT_EQ(Utf8(s.state->statusText), "记录保存失败");
    EXPECT_TRUE(std::filesystem::is_empty(root.path)) << "no folder and no cut file name made";

    Outcome& saved = s.Save(std::filesystem::path(folder).u16string());
    EXPECT_EQ(Utf8(saved.noticeCaption), "已保存");
    EXPECT_EQ((folder + sep + "T146.csv").size(), 519u);
    EXPECT_TRUE(std::filesystem::exists(folder + sep + "T146.csv"));
}

}  // namespace
}  // namespace ovra
