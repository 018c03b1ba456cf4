#pragma once
// The headless self-test: evaluate the tool with its defaults and write a pipe-separated report.
#include <cstdint>

#include "tool/tool.h"

namespace ovra {

constexpr int32_t SelfTestTextCapacity = 16384;

enum SelfTestExit : int32_t {
    SelfTestPassed = 0,
    SelfTestOutputFailed = 2,  // some output formula failed
    SelfTestNotWritten = 3,    // the report file could not be written whole
};

// Fills `fileText` with the six kinds of report line for `tool` and its defaults; returns the number of
// output formulas that failed on their own.
int32_t BuildSelfTestReport(const Tool& tool, char16_t* fileText, int32_t capacity);

// Makes `path` hold the whole `text` as UTF-8 without a byte-order mark, or leaves it as it was and returns
// false. A path that names a folder, a FIFO or a device is refused without being opened.
bool WriteUtf8File(const char16_t* path, const char16_t* text);

// The self-test of the active tool; returns a SelfTestExit.
int32_t RunSelfTest(const char16_t* reportPath);

}  // namespace ovra
