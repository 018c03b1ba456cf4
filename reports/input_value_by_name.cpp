// Alone in its file: the catalogue's check links its own InputValueByName in place of this one, to learn which
// names each builder reads.
#include <cstring>

#include "reports/reports.h"

namespace ovra {

double InputValueByName(const Tool& tool, const double* inputValues, const char* name) {
    if (inputValues == nullptr || name == nullptr) return 0.0;
    // The value vector holds MaxInputs entries whatever the tool claims.
    for (int32_t i = 0; i < tool.inputCount && i < MaxInputs; ++i) {
        const char* inputName = tool.inputs[i].name;
        if (inputName != nullptr && std::strcmp(inputName, name) == 0) return inputValues[i];
    }
    return 0.0;
}

}  // namespace ovra
