#pragma once
// Making the windows from their templates look right on GTK.

#include <wx/window.h>

namespace zormin {

// Loads the embedded templates and pictures; once, before any window.
void InitWindowResources();

// Gives `dialog` the client size `units` (dialog units of its own font) and
// lets a control that GTK cannot draw in its template height keep its
// natural height.
void FitTemplate(wxWindow* dialog, wxSize units);

}  // namespace zormin
