#include "tests/tool/input_reads.h"

#include <cstring>

#include "reports/reports.h"

namespace ovra {
namespace {

std::set<std::string> reads;

}  // namespace

double InputValueByName(const Tool& tool, const double* inputValues, const char* name) {
    reads.insert(name == nullptr ? "(null)" : name);
    if (inputValues == nullptr || name == nullptr) return 0.0;
    for (int32_t i = 0; i < tool.inputCount && i < MaxInputs; ++i) {
        const char* inputName = tool.inputs[i].name;
        if (inputName != nullptr && std::strcmp(inputName, name) == 0) return inputValues[i];
    }
    return 0.0;
}

namespace testing {

std::set<std::string> TakeInputReads() {
    std::set<std::string> taken;
    taken.swap(reads);
    return taken;
}

}  // namespace testing
}  // namespace ovra
