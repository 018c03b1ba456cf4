// The input checks of every tool record: each accepts its own default and reads its own input alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expr/expression.h"
#include "tool/tool.h"

namespace ovra {
namespace {

// Every tool record the program can be built with; a new record joins this list.
std::vector<const Tool*> CatalogueTools() { return {&ActiveTool()}; }

TEST(InputChecks, EveryCheckHoldsAtItsDefaultOverItsOwnInputAlone) {
    for (const Tool* tool : CatalogueTools()) {
        for (int32_t i = 0; i < tool->inputCount; ++i) {
            const InputField& input = tool->inputs[i];
            const std::string where = std::to_string(tool->id) + "/" + input.name;
            if (input.check == nullptr) {
                EXPECT_EQ(input.accepted, nullptr) << where << ": an accepted text without a check";
                continue;
            }
            EXPECT_NE(input.accepted, nullptr) << where << ": the refusal would not say what to enter";
            // A tool that holds this input and nothing else: naming any other input or an output fails.
            Tool alone = *tool;
            alone.inputCount = 1;
            alone.inputs = &input;
            alone.outputCount = 0;
            alone.outputs = nullptr;
            const double values[MaxInputs] = {input.defaultValue};
            const double outputs[MaxOutputs] = {};
            int32_t error = -1;
            const double truth = EvaluateExpression(alone, input.check, values, outputs, error);
            EXPECT_EQ(error, 0) << where << ": " << input.check;
            EXPECT_NE(truth, 0) << where << ": the default " << input.defaultValue << " is refused";
        }
    }
}

}  // namespace
}  // namespace ovra
