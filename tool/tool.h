#pragma once
// The constant tool records. Absent optional texts are nullptr; everything has static lifetime.
#include <cstdint>

namespace ovra {

constexpr int MaxInputs = 16;
constexpr int MaxOutputs = 16;

struct InputField {
    const char* name;
    const char16_t* label;
    const char16_t* unit;
    double defaultValue;
    const char* check = nullptr;            // condition over this input alone; nullptr: any finite number
    const char16_t* accepted = nullptr;     // what `check` accepts, for the user: u"0、1 或 2"
};

struct OutputField {
    const char* name;
    const char16_t* label;
    const char16_t* unit;
    const char* formula;
    const char* format;
};

struct VerdictRule {
    const char* condition;  // "" fires always
    int32_t level;
    const char16_t* text;
};

struct Tool {
    int32_t id;
    const char16_t* title;
    const char16_t* subtitle;
    const char16_t* category;
    const char16_t* reference;
    const char16_t* advice;
    int32_t inputCount;
    const InputField* inputs;
    int32_t outputCount;
    const OutputField* outputs;
    int32_t ruleCount;
    const VerdictRule* rules;
    int32_t customReport;
};

const Tool& ActiveTool();

}  // namespace ovra
