#pragma once
// Which of several font faces the system has: GDI would otherwise substitute a face of its own choosing for a
// missing one, and the layout would be measured in it.
#include <windows.h>

namespace ovra {

// The first of `faces` (ended by nullptr) that the system has, else the last: then GDI substitutes as usual.
const wchar_t* FirstInstalledFace(const wchar_t* const* faces);

}  // namespace ovra
