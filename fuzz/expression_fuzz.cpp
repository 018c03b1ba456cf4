// Random expression texts over the ABCD2 tool's names, with random values for its inputs and output. Each
// result, the depth bound included, must agree bit for bit with the independent reader in
// reference_expression.cpp.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "expr/expression.h"
#include "fuzz/reference_expression.h"
#include "tool/tool.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ovra::Tool& tool = ovra::ActiveTool();
    // The first bytes, when present, pick the values: NaN, infinities and extremes among them.
    static const double palette[] = {0.0, -0.0, 1.0, -1.0, 60.0, 130.0, 80.0, 0.5, 1e308, -1e308,
                                     INFINITY, -INFINITY, NAN, 5e-324, 2.0, 7.0};
    double inputs[ovra::MaxInputs] = {60, 130, 80, 1, 1, 0};
    double outputs[ovra::MaxOutputs] = {3};
    if (size > 0 && data[0] == 0xFF && size >= 8) {
        for (int i = 0; i < 7; ++i) {
            (i < 6 ? inputs[i] : outputs[0]) = palette[data[1 + i] % 16];
        }
        data += 8;
        size -= 8;
    }
    // A copy of exactly the text's size, so reading past its terminator is caught.
    char* text = static_cast<char*>(std::malloc(size + 1));
    std::memcpy(text, data, size);
    text[size] = '\0';
    int32_t error = -1;
    const double value = ovra::EvaluateExpression(tool, text, inputs, outputs, error);
    if (error != 0 && error != 1) std::abort();
    if (error == 0 && !std::isfinite(value)) std::abort();  // success always means a finite value

    int32_t referenceError = -1;
    const double expected = ovra::reference::EvaluateExpressionReference(tool, text, inputs, outputs, referenceError);
    const bool sameValue =
        std::memcmp(&value, &expected, sizeof value) == 0 || (std::isnan(value) && std::isnan(expected));
    if (referenceError != error || !sameValue) std::abort();
    std::free(text);
    return 0;
}
