// The one object that differs between the family's programs: the build names the record with
// OVRA_TOOL_RECORD (tool146, tool201, ...), so each program links its own record and no other.
#include "tool/catalogue/catalogue.h"

#ifndef OVRA_TOOL_RECORD
#error "OVRA_TOOL_RECORD names the program's record, e.g. tool146"
#endif

namespace ovra {

const Tool& ActiveTool() { return OVRA_TOOL_RECORD; }

}  // namespace ovra
