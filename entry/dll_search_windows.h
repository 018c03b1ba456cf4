// The folders Windows searches for the DLLs the program loads after start.
#pragma once

namespace ovra {

// From here on every DLL comes from System32 only, never from the program's folder or the current one, which
// users can often write to. Must run before anything loads a DLL (the delay-loaded ones included).
void RestrictDllSearchToSystem32();

}  // namespace ovra
