#pragma once

// Names for screen readers where the control's own text or the label just before it cannot give
// one: Dynamic Annotation (IAccPropServices::SetHwndPropStr with PROPID_ACC_NAME on the
// control's client object), which MSAA and UI Automation readers take instead of the name they
// would make up. COM must be initialised on the thread (the program's start does it).

#include <string>
#include <string_view>

#include "win32gui/native.h"

namespace win32gui {

// Whether the system has the annotation service (Wine does not implement it).
bool annotationsAvailable();

// Gives `hwnd` the name `name` (code page 1252); false when the system has no annotation
// service. A later call replaces the name.
bool setAccessibleName(HWND hwnd, std::string_view name);

// The name a screen reader gets for `hwnd` through MSAA (AccessibleObjectFromWindow and
// get_accName on its client object); empty when it has none.
std::string readAccessibleName(HWND hwnd);

// The role MSAA gives `hwnd`'s client object (ROLE_SYSTEM_*); 0 when it cannot be read.
long readAccessibleRole(HWND hwnd);

// Hands `words` to screen readers as an alert they say by themselves, the focus staying where
// it is: a small static child of `window` (made on first use) takes the words, is told as an
// alert where the annotation service is there, and EVENT_SYSTEM_ALERT is raised on it.
// Returns the notice.
HWND announceToScreenReaders(HWND window, std::string_view words);

}  // namespace win32gui
