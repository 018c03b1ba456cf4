#include "ui/run_command.h"

#include "ui/field_reading.h"

namespace ovra {

bool RunCommand(FrontEnd& state, KeyAction action, const ShellServices& services, Outcome& outcome) {
    switch (action) {
        case KeyAction::Calculate: {
            char16_t texts[MaxInputs][FieldReadCapacity];
            const char16_t* fieldTexts[MaxInputs] = {};
            for (int32_t i = 0; i < state.tool->inputCount && i < MaxInputs; ++i) {
                services.readField(services.shell, i, texts[i], FieldReadCapacity);
                fieldTexts[i] = texts[i];
            }
            Calculate(state, fieldTexts, outcome);
            return true;
        }
        case KeyAction::Save: {
            char16_t folder[RecordPathCapacity];
            services.recordsFolder(services.shell, folder, RecordPathCapacity);
            SaveRecord(state, services.now(), folder, outcome);
            return true;
        }
        case KeyAction::Copy:
            // Only the clipboard's answer tells whether the copy was made.
            CopyResult(state, outcome);
            if (outcome.setClipboard) FinishCopy(state, services.putClipboard(services.shell, outcome.clipboard), outcome);
            return true;
        case KeyAction::Reset:
            ResetInputs(state, outcome);
            return true;
        case KeyAction::About:
            ShowAbout(state, outcome);
            return true;
        default:
            return false;
    }
}

}  // namespace ovra
