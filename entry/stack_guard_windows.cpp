// The stack protector's guard in the Windows programs. libssp seeds it, when it is still zero, from a
// cryptographic provider, which loads three more DLLs at every start: more than the whole self-test takes
// under Wine. RtlGenRandom draws from the same system generator without them.
#include <windows.h>
// windows.h first: ntsecapi.h needs its types.
#include <ntsecapi.h>

#include <cstdint>

extern "C" uintptr_t __stack_chk_guard;

namespace {

// Before every other constructor, so no guarded function is on the stack while the guard changes; this one
// is not guarded itself. On failure the guard stays zero and libssp seeds it its own way.
__attribute__((constructor(101), no_stack_protector)) void SeedStackGuard() {
    uintptr_t guard = 0;
    if (RtlGenRandom(&guard, sizeof guard) && guard != 0) __stack_chk_guard = guard;
}

}  // namespace
