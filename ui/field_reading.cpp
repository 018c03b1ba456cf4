#include "ui/field_reading.h"

#include <charconv>
#include <cmath>

#include "expr/expression.h"

namespace ovra {

FieldReading ReadFieldText(const char16_t* text, double& value) {
    char ascii[FieldTextCapacity];
    int32_t length = 0;
    for (; text != nullptr && text[length] != 0; ++length) {
        // Full-width digits and other non-ASCII text are not numbers here; nor is a text too long to read whole.
        if (text[length] > 0x7E || length == FieldTextCapacity - 1) return FieldReading::NotANumber;
        ascii[length] = static_cast<char>(text[length]);
    }
    int32_t begin = 0;
    while (begin < length && ascii[begin] == ' ') ++begin;
    while (length > begin && ascii[length - 1] == ' ') --length;
    if (begin == length) {
        value = 0;
        return FieldReading::Blank;
    }
    // from_chars ignores the locale (Qt sets one from the environment) but takes no leading '+'.
    if (ascii[begin] == '+' && begin + 1 < length && ascii[begin + 1] != '-') ++begin;
    double number = 0;
    const auto [end, error] = std::from_chars(ascii + begin, ascii + length, number, std::chars_format::general);
    if (error != std::errc() || end != ascii + length || !std::isfinite(number)) return FieldReading::NotANumber;
    value = number;
    return FieldReading::Number;
}

bool PassesInputCheck(const Tool& tool, int32_t index, const double* inputValues) {
    const char* check = tool.inputs[index].check;
    if (check == nullptr) return true;
    // Nothing is computed before the checks pass, so outputs read as 0.
    const double outputValues[MaxOutputs] = {};
    int32_t error = 0;
    const double truth = EvaluateExpression(tool, check, inputValues, outputValues, error);
    return error == 0 && truth != 0;
}

}  // namespace ovra
