#pragma once
// For tests that run once per record of the family: names that read as the tool, not as an address.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "tool/tool.h"

namespace ovra {

inline std::string ToolName(const ::testing::TestParamInfo<const Tool*>& info) {
    std::string name = "T";  // appended rather than added, which GCC 12 at -O3 misreads as an overlapping copy
    return name += std::to_string(info.param->id);
}

// Found by argument-dependent lookup.
inline void PrintTo(const Tool* tool, std::ostream* out) { *out << "tool " << tool->id; }

}  // namespace ovra
