#pragma once
// A command run from a key or a button, the same in every shell: the shell lends only what it alone can reach,
// and applies the Outcome.
#include <cstdint>

#include "ui/frontend.h"
#include "ui/window_keys.h"

namespace ovra {

struct ShellServices {
    void* shell;
    void (*readField)(void* shell, int32_t index, char16_t* out, int32_t capacity);
    LocalTime (*now)();
    void (*recordsFolder)(void* shell, char16_t* out, int32_t capacity);  // empty where the platform names none
    bool (*putClipboard)(void* shell, const char16_t* text);  // true only when the clipboard holds it afterwards
};

// Runs the command `action` names into `outcome`; false, with nothing run, for an action that is no command.
bool RunCommand(FrontEnd& state, KeyAction action, const ShellServices& services, Outcome& outcome);

}  // namespace ovra
