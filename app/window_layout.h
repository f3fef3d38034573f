#pragma once
// Making the windows from their templates look right on GTK.

#include <wx/listbox.h>
#include <wx/window.h>

namespace zormin {

// Loads the embedded templates and pictures; once, before any window.
void InitWindowResources();

// Gives `dialog` the client size `units` (dialog units of its own font) and
// lets a control that GTK cannot draw in its template height keep its
// natural height.
void FitTemplate(wxWindow* dialog, wxSize units);

// Lets `list` hold a hundred thousand entries without GTK measuring each
// one: rows of one height, the column as wide as the box (a name wider than
// the box is cut at its edge).
void UseFixedRows(wxListBox* list);

// Enter pressed in `list` without Shift, Ctrl or Alt clicks `button`, where
// GTK would activate the list's entry. With an entry selected, wx itself
// takes Enter first: it reports a double click, which the window ignores
// while a key is being handled (KeyInHand), and then presses the default
// button.
void PassEnterTo(wxListBox* list, wxWindow* button);

// Whether the event being handled comes from the keyboard.
bool KeyInHand();

// While it lives, `list`'s rows are apart from the view that shows them, so
// that clearing and filling a long list does not update the view row by row.
// Only entries are removed and added meanwhile; nothing is selected.
class DetachedRows {
 public:
  explicit DetachedRows(wxListBox* list);
  ~DetachedRows();
  DetachedRows(const DetachedRows&) = delete;
  DetachedRows& operator=(const DetachedRows&) = delete;

 private:
  void* m_view = nullptr;   // GtkTreeView
  void* m_model = nullptr;  // GtkTreeModel, one reference held
};

}  // namespace zormin
