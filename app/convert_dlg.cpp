#include "app/convert_dlg.h"

#include <gtk/gtk.h>
#include <wx/accel.h>
#include <wx/button.h>
#include <wx/dirdlg.h>
#include <wx/iconbndl.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/statbox.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include "app/guide_dlg.h"
#include "app/legacy_text.h"
#include "app/window_layout.h"
#include "app/window_texts.h"

namespace zormin {

namespace {

wxString FromUtf8(std::string_view text) { return wxString::FromUTF8(text.data(), text.size()); }
std::string ToUtf8(const wxString& text) { return std::string(text.utf8_str()); }

}  // namespace

std::optional<std::string> ChooseWithDirDialog(wxWindow* owner, const std::string& folder) {
  wxDirDialog chooser(owner, FromUtf8(window_text::kChooseFolderTitle), wxString(),
                      wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
  // The folder goes in and comes out as the file system's bytes: wx would
  // turn a path that is not UTF-8 into an empty string, and a folder chosen
  // there would be lost as if the chooser had been cancelled.
  GtkFileChooser* gtkChooser = GTK_FILE_CHOOSER(chooser.GetHandle());
  if (!folder.empty()) gtk_file_chooser_set_current_folder(gtkChooser, folder.c_str());
  if (chooser.ShowModal() != wxID_OK) return std::nullopt;
  gchar* chosen = gtk_file_chooser_get_filename(gtkChooser);
  if (chosen == nullptr) return std::nullopt;
  std::string path(chosen);
  g_free(chosen);
  return path;
}

wxIMPLEMENT_CLASS(CConvertDlg, wxDialog);

// The help button and F1 carry wxID_HELP: a window id must stay below 32767,
// so the help command's own number (57670) cannot be used.
wxBEGIN_EVENT_TABLE(CConvertDlg, wxDialog)
  EVT_BUTTON(1001, CConvertDlg::OnStartConversion)
  EVT_BUTTON(1002, CConvertDlg::OnBrowseFolder)
  EVT_LISTBOX_DCLICK(1003, CConvertDlg::OnOpenListedFile)
  EVT_CHOICE(1004, CConvertDlg::OnFileType)
  EVT_RADIOBUTTON(1007, CConvertDlg::OnSelectedOnly)
  EVT_RADIOBUTTON(1008, CConvertDlg::OnAllFiles)
  EVT_RADIOBUTTON(1010, CConvertDlg::OnOverwrite)
  EVT_RADIOBUTTON(1011, CConvertDlg::OnSubFolderOutput)
  EVT_BUTTON(1012, CConvertDlg::OnHomePage)
  EVT_BUTTON(1014, CConvertDlg::OnNamesUpper)
  EVT_BUTTON(1015, CConvertDlg::OnNamesLower)
  EVT_BUTTON(wxID_HELP, CConvertDlg::OnHelp)
  EVT_MENU(wxID_HELP, CConvertDlg::OnHelp)
  EVT_MENU(kVersionCommand, CConvertDlg::OnHelp)
  EVT_BUTTON(wxID_OK, CConvertDlg::OnOk)
  EVT_CHAR_HOOK(CConvertDlg::OnCharHook)
  EVT_CONTEXT_MENU(CConvertDlg::OnContextMenu)
  EVT_TEXT(1009, CConvertDlg::OnSubFolderText)
wxEND_EVENT_TABLE()

CConvertDlg::CConvertDlg(wxWindow* parent, SettingsFile settings) : m_chooseFolder(ChooseWithDirDialog) {
  InitWindowResources();
  wxXmlResource::Get()->LoadDialog(this, parent, "CConvertDlg");
  m_folderBox = wxDynamicCast(FindWindow(1000), wxTextCtrl);
  m_subFolderBox = wxDynamicCast(FindWindow(1009), wxTextCtrl);
  m_subFolderLabel = wxDynamicCast(FindWindow(1013), wxStaticText);
  m_fileType = wxDynamicCast(FindWindow(1004), wxChoice);
  m_upper = wxDynamicCast(FindWindow(1005), wxRadioButton);
  m_selectedOnly = wxDynamicCast(FindWindow(1007), wxRadioButton);
  m_overwrite = wxDynamicCast(FindWindow(1010), wxRadioButton);
  m_byAssociation = wxDynamicCast(FindWindow(1016), wxCheckBox);
  SetLabels();
  for (const std::string_view type : window_text::kFileTypes) m_fileType->Append(FromUtf8(type));
  FitTemplate(this, wxSize(219, 271));
  // Escape and the close box cancel; they must not fall back on the exit
  // button, whose close step takes the fields.
  SetEscapeId(wxID_NONE);

  wxIconBundle icons;
  for (const char* name : {"icon16", "icon32", "icon48", "icon128"}) icons.AddIcon(wxXmlResource::Get()->LoadIcon(name));
  SetIcons(icons);
  wxAcceleratorEntry help(wxACCEL_NORMAL, WXK_F1, wxID_HELP);
  SetAcceleratorTable(wxAcceleratorTable(1, &help));

  m_files = std::make_unique<ListBoxFileList>(wxDynamicCast(FindWindow(1003), wxListBox));
  UseFixedRows(wxDynamicCast(FindWindow(1003), wxListBox));
  // Enter anywhere but on a push button is the exit button's. Edit boxes,
  // radio buttons and the check box pass it to the default button by
  // themselves; the file list would open its entry instead.
  PassEnterTo(wxDynamicCast(FindWindow(1003), wxListBox), FindWindow(wxID_OK));
  m_logic = std::make_unique<ConvertDlgLogic>(static_cast<ConvertDlgControls&>(*this), m_desktop, std::move(settings));
  m_logic->Init();
  FindWindow(wxID_OK)->SetFocus();
  Centre();
}

// The settings file is written however the window was closed. Nothing else
// is left to do here: there is no help engine to tell to quit, a minimised
// window is drawn by the desktop, and no failure of a drive raises a box of
// the system's own.
CConvertDlg::~CConvertDlg() { m_logic->Destroy(); }

void CConvertDlg::SetLabels() {
  SetTitle(FromUtf8(window_text::kMainCaption));
  const auto label = [this](int id, std::string_view text) { FindWindow(id)->SetLabel(FromUtf8(text)); };
  const auto named = [this](const char* name, std::string_view text) {
    FindWindow(XRCID(name))->SetLabel(FromUtf8(text));
  };
  label(wxID_OK, window_text::kExit);
  label(wxID_HELP, window_text::kGuide);
  named("settings_group", window_text::kSettingsGroup);
  named("folder_label", window_text::kFolderLabel);
  label(1001, window_text::kStart);
  label(1002, window_text::kBrowse);
  named("file_name_label", window_text::kFileNameLabel);
  named("file_type_label", window_text::kFileTypeLabel);
  named("tag_group", window_text::kTagGroup);
  label(1005, window_text::kUpper);
  label(1006, window_text::kLower);
  named("output_group", window_text::kOutputGroup);
  label(1007, window_text::kSelectedOnly);
  label(1008, window_text::kAllFiles);
  label(1013, window_text::kSubFolderLabel);
  named("target_group", window_text::kTargetGroup);
  label(1010, window_text::kOverwrite);
  label(1011, window_text::kSubFolderOutput);
  label(1012, window_text::kHomePage);
  label(1014, window_text::kNamesUpper);
  label(1015, window_text::kNamesLower);
  label(1016, window_text::kOpenByAssociation);
}

std::string CConvertDlg::FolderText() const { return ToUtf8(m_folderBox->GetValue()); }
std::string CConvertDlg::SubFolderText() const { return ToUtf8(m_subFolderBox->GetValue()); }
std::string CConvertDlg::FileTypeText() const { return ToUtf8(m_fileType->GetStringSelection()); }

void CConvertDlg::ShowFields(const std::string& folder, const std::string& subFolder, int fileTypeItem) {
  m_folderBox->ChangeValue(wxString::FromUTF8(folder));
  m_subFolderBox->ChangeValue(wxString::FromUTF8(subFolder));
  m_acceptedSubFolder = subFolder;
  m_fileType->SetSelection(fileTypeItem);
}

void CConvertDlg::CheckDefaults() {
  m_upper->SetValue(true);
  m_selectedOnly->SetValue(true);
  m_overwrite->SetValue(true);
}

void CConvertDlg::EnableSubFolder(bool enable) {
  m_subFolderLabel->Enable(enable);
  m_subFolderBox->Enable(enable);
}

void CConvertDlg::FocusField(Field field) {
  switch (field) {
    case Field::Folder:
      m_folderBox->SetFocus();
      m_folderBox->SelectAll();
      break;
    case Field::SubFolder:
      m_subFolderBox->SetFocus();
      m_subFolderBox->SelectAll();
      break;
    case Field::FileType: m_fileType->SetFocus(); break;
  }
}

std::optional<std::string> CConvertDlg::ChooseFolder(const std::string& folder) { return m_chooseFolder(this, folder); }

void CConvertDlg::SetBusy(bool busy) {
  if (busy) {
    wxBeginBusyCursor();
  } else {
    m_files->Flush();
    wxEndBusyCursor();
  }
}

template <typename Step>
void CConvertDlg::Run(Step step) {
  RunProgressSink progress(this, *m_messages);
  m_run = &progress;
  step();
  m_run = nullptr;
}

void CConvertDlg::OnStartConversion(wxCommandEvent&) {
  Run([this] { m_logic->StartConversion(); });
}

void CConvertDlg::OnBrowseFolder(wxCommandEvent&) { m_logic->BrowseFolder(); }
// A double click opens the entry; Enter in the list is the exit button's
// (see PassEnterTo).
void CConvertDlg::OnOpenListedFile(wxCommandEvent&) {
  if (!KeyInHand()) m_logic->OpenListedFile();
}
void CConvertDlg::OnFileType(wxCommandEvent&) { m_logic->FileTypeChanged(); }
void CConvertDlg::OnSelectedOnly(wxCommandEvent&) { m_logic->SelectedOnlyClicked(); }
void CConvertDlg::OnAllFiles(wxCommandEvent&) { m_logic->AllFilesClicked(); }
void CConvertDlg::OnOverwrite(wxCommandEvent&) { m_logic->OverwriteClicked(); }
void CConvertDlg::OnSubFolderOutput(wxCommandEvent&) { m_logic->SubFolderOutputClicked(); }
void CConvertDlg::OnHomePage(wxCommandEvent&) { m_logic->OpenHomePage(); }

void CConvertDlg::OnNamesUpper(wxCommandEvent&) {
  Run([this] { m_logic->ChangeNameCase(CaseMode::Upper); });
}

void CConvertDlg::OnNamesLower(wxCommandEvent&) {
  Run([this] { m_logic->ChangeNameCase(CaseMode::Lower); });
}

void CConvertDlg::OpenGuide(wxWindow* parent) {
  CGuideDlg guide(parent);
  guide.ShowModal();
}

// The help button, F1 here or in a guide window (which passes it on, so the
// next guide window opens over it), and the version item of the menu.
void CConvertDlg::OnHelp(wxCommandEvent& event) {
  wxWindow* from = dynamic_cast<CGuideDlg*>(event.GetEventObject());
  OpenGuide(from != nullptr ? from : this);
}

// The close step; Escape and the close box close the window without it.
void CConvertDlg::OnOk(wxCommandEvent&) {
  if (m_logic->TakeFields()) EndModal(wxID_OK);
}

void CConvertDlg::OnCharHook(wxKeyEvent& event) {
  if (event.GetKeyCode() == WXK_ESCAPE && event.GetModifiers() == wxMOD_NONE) {
    EndModal(wxID_CANCEL);
    return;
  }
  event.Skip();
}

// GTK windows have no system menu: the version item is in the menu of the
// window's background.
void CConvertDlg::OnContextMenu(wxContextMenuEvent& event) {
  if (event.GetEventObject() != this) {
    event.Skip();
    return;
  }
  wxMenu menu;
  menu.Append(kVersionCommand, FromUtf8(window_text::kVersionItem));
  PopupMenu(&menu);
}

// Typing stops at the box's limit in bytes; GTK's own limit counts characters.
void CConvertDlg::OnSubFolderText(wxCommandEvent&) {
  const std::string text = ToUtf8(m_subFolderBox->GetValue());
  if (AnsiLength(text) <= kSubFolderLimit) {
    m_acceptedSubFolder = text;
    return;
  }
  const long at = m_subFolderBox->GetInsertionPoint();
  const long over = static_cast<long>(m_subFolderBox->GetValue().length()) -
                    static_cast<long>(wxString::FromUTF8(m_acceptedSubFolder).length());
  m_subFolderBox->ChangeValue(wxString::FromUTF8(m_acceptedSubFolder));
  m_subFolderBox->SetInsertionPoint(std::max(0L, at - over));
  wxBell();
}

}  // namespace zormin
