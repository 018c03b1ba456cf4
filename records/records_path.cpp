#include "records/records_path.h"

#include "text/format.h"
#include "text/text.h"

namespace ovra {

bool RecordFilePath(const char16_t* folder, int32_t toolId, char16_t* out, int32_t capacity, int32_t number) {
    char16_t name[48];
    const int32_t nameLength = number == 1   ? FormatText(name, 48, u"%cT%03d.csv", RecordPathSeparator, toolId)
                               : number == 0 ? FormatText(name, 48, u"%cT%03d-restored.csv", RecordPathSeparator, toolId)
                                             : FormatText(name, 48, u"%cT%03d-%d.csv", RecordPathSeparator, toolId, number);
    CopyText(out, capacity, folder);
    return AppendText(out, capacity, name) == TextLength(folder) + nameLength;
}

bool RecordsFolderFromEnvironment(const char16_t* xdgDataHome, const char16_t* home, char16_t* out, int32_t capacity) {
    const bool xdgUsable = xdgDataHome != nullptr && xdgDataHome[0] == u'/';
    const bool homeUsable = home != nullptr && home[0] == u'/';
    const char16_t* base = xdgUsable ? xdgDataHome : homeUsable ? home : u"/";
    int32_t baseLength = TextLength(base);
    while (baseLength > 0 && base[baseLength - 1] == u'/') --baseLength;  // "/" and "/data/" join without "//"
    const char16_t* below = xdgUsable ? u"/OvraMedSuite/records" : u"/.local/share/OvraMedSuite/records";
    if (capacity < 1) return false;
    out[0] = 0;
    AppendUnits(out, capacity, base, baseLength);
    return AppendText(out, capacity, below) == baseLength + TextLength(below);
}

}  // namespace ovra
