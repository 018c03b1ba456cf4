#include "tool/catalogue/catalogue.h"

namespace ovra {
namespace {

// In id order; a record added to the family is added here too, or no check sees it.
const Tool* const allTools[] = {
    &tool146, &tool201, &tool202, &tool203, &tool204, &tool205,
    &tool206, &tool207, &tool208, &tool209, &tool210, &tool211,
};

}  // namespace

const Tool* const* AllTools() { return allTools; }
int32_t ToolCount() { return static_cast<int32_t>(sizeof allTools / sizeof allTools[0]); }

}  // namespace ovra
