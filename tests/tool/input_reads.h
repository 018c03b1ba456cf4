#pragma once
// The names the report builders ask InputValueByName for. This test program links input_reads.cpp, whose
// InputValueByName records each name and then looks it up as the library's does.
#include <set>
#include <string>

namespace ovra::testing {

// The names asked for since the last call.
std::set<std::string> TakeInputReads();

}  // namespace ovra::testing
