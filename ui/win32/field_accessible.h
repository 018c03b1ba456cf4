#pragma once
// A field's accessible object with a description: the system's own object for the edit control names the
// field by its label and reads its value, but has no way to carry the unit and what the field accepts.
#include <windows.h>
// After windows.h, which it needs.
#include <oleacc.h>

namespace ovra {

// The object itself, with one reference for the caller; nullptr when it cannot be made.
IAccessible* NewDescribedFieldAccessible(HWND field, const wchar_t* description);
// The answer to a field's WM_GETOBJECT for its client object: the system's object for `field`, with
// `description` as its description. 0 when it cannot be made, so the system answers as usual.
LRESULT DescribedFieldObject(HWND field, WPARAM flags, const wchar_t* description);

}  // namespace ovra
