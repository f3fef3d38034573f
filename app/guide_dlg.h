#pragma once
// The guide window (template 100): the program's name and version, the
// maker's notice, and how the program is used.

#include <wx/dialog.h>
#include <wx/listbox.h>

namespace zormin {

class CGuideDlg : public wxDialog {
 public:
  explicit CGuideDlg(wxWindow* parent);

  wxListBox* lines() const { return m_lines; }

 private:
  void OnHelp(wxCommandEvent& event);

  wxListBox* m_lines = nullptr;
  wxDECLARE_CLASS(CGuideDlg);
  wxDECLARE_EVENT_TABLE();
};

}  // namespace zormin
