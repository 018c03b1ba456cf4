#pragma once
// Every tool record of the family, one file each. A program carries the one its ActiveTool names (the build
// defines ActiveTool in a one-line object per program), so a program links only its own record.
#include <cstdint>

#include "tool/tool.h"

namespace ovra {

// The record of tool n is toolN.
extern const Tool tool146;  // ABCD2 score
extern const Tool tool201;  // nurse roster, custom report 1
extern const Tool tool202;  // dosing timetable, 2
extern const Tool tool203;  // blood-collection order, 3
extern const Tool tool204;  // critical values, 4
extern const Tool tool205;  // high-alert drugs, 5
extern const Tool tool206;  // drug compatibility, 6
extern const Tool tool207;  // follow-up plan, 7
extern const Tool tool208;  // surgical safety checklist, 8
extern const Tool tool209;  // handover template, 9
extern const Tool tool210;  // infusion card, 10
extern const Tool tool211;  // laboratory panels, 11

// Every record, in id order, for the checks that run over the whole family.
const Tool* const* AllTools();
int32_t ToolCount();

}  // namespace ovra
