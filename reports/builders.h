#pragma once
// The report builders behind BuildCustomReport. Each receives an empty report and verdict, appends its lines,
// stores one verdict and returns its level; none keeps state between calls.
#include <cstdint>

#include "tool/tool.h"

namespace ovra {

using CustomReportBuilder = int32_t (*)(const Tool& tool, const double* inputValues, char16_t* report,
                                        int32_t reportCapacity, char16_t* verdict, int32_t verdictCapacity);

int32_t BuildNurseRoster(const Tool&, const double*, char16_t*, int32_t, char16_t*, int32_t);
int32_t BuildDosingSchedule(const Tool&, const double*, char16_t*, int32_t, char16_t*, int32_t);
int32_t BuildDrugCompatibility(const Tool&, const double*, char16_t*, int32_t, char16_t*, int32_t);
int32_t BuildFollowUpPlan(const Tool&, const double*, char16_t*, int32_t, char16_t*, int32_t);
int32_t BuildHandoverTemplate(const Tool&, const double*, char16_t*, int32_t, char16_t*, int32_t);
int32_t BuildInfusionCard(const Tool&, const double*, char16_t*, int32_t, char16_t*, int32_t);

// The fixed reference reports (order of draw, critical values, high-alert drugs, safety checklist, lab panels)
// are data: fixed lines around at most one row chosen by a selector input, all run by BuildReferenceList.
struct ReferenceList;
extern const ReferenceList bloodCollectionOrder;
extern const ReferenceList criticalValues;
extern const ReferenceList highAlertDrugs;
extern const ReferenceList safetyChecklist;
extern const ReferenceList labPanels;
int32_t BuildReferenceList(const ReferenceList& list, const Tool& tool, const double* inputValues, char16_t* report,
                           int32_t reportCapacity, char16_t* verdict, int32_t verdictCapacity);

// The selector of input `name`, clamped to [low, high]; an absent input counts as 0 before the clamp.
int32_t ClampedSelector(const Tool& tool, const double* inputValues, const char* name, int32_t low, int32_t high);

}  // namespace ovra
