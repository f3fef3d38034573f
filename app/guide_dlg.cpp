#include "app/guide_dlg.h"

#include <wx/accel.h>
#include <wx/stattext.h>
#include <wx/xrc/xmlres.h>

#include "app/window_layout.h"
#include "app/window_texts.h"

namespace zormin {

namespace {
wxString FromUtf8(std::string_view text) { return wxString::FromUTF8(text.data(), text.size()); }
}  // namespace

wxIMPLEMENT_CLASS(CGuideDlg, wxDialog);

// Its buttons and keys are the dialog's own; the one row here carries F1 on
// to the main window, which opens the next guide window over this one.
wxBEGIN_EVENT_TABLE(CGuideDlg, wxDialog)
  EVT_MENU(wxID_HELP, CGuideDlg::OnHelp)
wxEND_EVENT_TABLE()

CGuideDlg::CGuideDlg(wxWindow* parent) {
  wxXmlResource::Get()->LoadDialog(this, parent, "CGuideDlg");
  SetTitle(FromUtf8(window_text::kGuideCaption));
  // Shown as written: no mnemonics in these labels.
  XRCCTRL(*this, "guide_version", wxStaticText)->SetLabelText(FromUtf8(window_text::kGuideVersion));
  XRCCTRL(*this, "guide_notice", wxStaticText)->SetLabelText(FromUtf8(window_text::kGuideNotice));
  XRCCTRL(*this, "guide_disclaimer", wxStaticText)->SetLabelText(FromUtf8(window_text::kGuideDisclaimer));
  XRCCTRL(*this, "guide_list_label", wxStaticText)->SetLabelText(FromUtf8(window_text::kGuideListLabel));
  FindWindow(wxID_OK)->SetLabel(FromUtf8(window_text::kGuideOk));
  FitTemplate(this, wxSize(235, 217));

  wxAcceleratorEntry help(wxACCEL_NORMAL, WXK_F1, wxID_HELP);
  SetAcceleratorTable(wxAcceleratorTable(1, &help));

  m_lines = wxDynamicCast(FindWindow(1003), wxListBox);
  m_lines->Clear();
  for (const std::string_view line : window_text::kGuideLines) m_lines->Append(FromUtf8(line));
  // The focus starts on OK, not in the list.
  FindWindow(wxID_OK)->SetFocus();
  CentreOnParent();
}

void CGuideDlg::OnHelp(wxCommandEvent& event) {
  wxWindow* main = GetParent();
  while (main != nullptr && dynamic_cast<CGuideDlg*>(main) != nullptr) main = main->GetParent();
  if (main == nullptr) return;
  wxCommandEvent help(wxEVT_MENU, wxID_HELP);
  help.SetEventObject(this);
  main->GetEventHandler()->ProcessEvent(help);
  (void)event;
}

}  // namespace zormin
