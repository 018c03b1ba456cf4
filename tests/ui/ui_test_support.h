#pragma once
// Helpers shared by the front-end and record tests: ABCD2's fields and log lines, over the generic ones in
// tests/support.
#include <string>

#include "tests/support/test_files.h"
#include "tests/support/utf8_text.h"
#include "tool/tool.h"
#include "ui/frontend.h"

namespace ovra {

// Field texts for the six ABCD2 inputs.
struct FieldTexts {
    const char16_t* texts[MaxInputs];
};
FieldTexts Abcd2Fields(const char16_t* age, const char16_t* sbp, const char16_t* dbp, const char16_t* clinical,
                       const char16_t* duration, const char16_t* dm);

// The byte-order mark and the header line of the ABCD2 log.
std::string Abcd2Head();

// The CSV record of the ABCD2 defaults with the given time and age, as the log holds it.
std::string Abcd2Record(const std::string& time, const std::string& age);

// What the log's path puts between the records folder and the file name.
#ifdef _WIN32
inline const std::string LogSeparator = "\\";
#else
inline const std::string LogSeparator = "/";
#endif

constexpr LocalTime FixedTime = {2026, 12, 8, 9, 5, 3};

}  // namespace ovra
