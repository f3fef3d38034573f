#pragma once
// The main window (template 102). It moves values between its controls and
// the window's rules (ConvertDlgLogic) and shows dialogs; what it decides is
// decided there.

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/convert_dlg_logic.h"
#include "app/gio_desktop.h"
#include "app/list_box_file_list.h"
#include "app/message_box_sink.h"

namespace zormin {

// The command of the version item in the window's menu.
inline constexpr int kVersionCommand = 16;

// The desktop's folder chooser, opening on `folder` (bytes): the chosen
// folder's bytes, or nothing when cancelled.
std::optional<std::string> ChooseWithDirDialog(wxWindow* owner, const std::string& folder);

class CConvertDlg : public wxDialog, private ConvertDlgControls {
 public:
  // Made from its template with no parent; reads `settings` at once and
  // writes it when destroyed.
  CConvertDlg(wxWindow* parent, SettingsFile settings);
  ~CConvertDlg() override;

  // The folder chooser: opens on a folder (bytes) and gives the chosen one,
  // or nothing when cancelled. The tests answer it themselves.
  using FolderChooser = std::function<std::optional<std::string>(wxWindow* owner, const std::string& folder)>;
  void SetFolderChooser(FolderChooser chooser) { m_chooseFolder = std::move(chooser); }
  // Where the messages go; nullptr: message boxes.
  void SetMessageSink(MessageSink* sink) { m_messages = sink != nullptr ? sink : &m_messageBoxes; }

  ConvertDlgLogic& logic() { return *m_logic; }
  FileList& files() { return *m_files; }

  // Opens a guide window over `parent`.
  void OpenGuide(wxWindow* parent);

 private:
  // ConvertDlgControls
  FileList& Files() override { return *m_files; }
  MessageSink& Messages() override { return m_run != nullptr ? *m_run : *m_messages; }
  std::string FolderText() const override;
  std::string SubFolderText() const override;
  std::string FileTypeText() const override;
  void ShowFields(const std::string& folder, const std::string& subFolder, int fileTypeItem) override;
  bool UpperChecked() const override { return m_upper->GetValue(); }
  bool SelectedOnlyChecked() const override { return m_selectedOnly->GetValue(); }
  bool OverwriteChecked() const override { return m_overwrite->GetValue(); }
  bool OpenByAssociationChecked() const override { return m_byAssociation->GetValue(); }
  void CheckDefaults() override;
  void EnableSubFolder(bool enable) override;
  void FocusField(Field field) override;
  std::optional<std::string> ChooseFolder(const std::string& folder) override;
  void SetBusy(bool busy) override;

  void SetLabels();
  // A run over files, with its progress and busy cursor.
  template <typename Step>
  void Run(Step step);

  void OnStartConversion(wxCommandEvent&);
  void OnBrowseFolder(wxCommandEvent&);
  void OnOpenListedFile(wxCommandEvent&);
  void OnFileType(wxCommandEvent&);
  void OnSelectedOnly(wxCommandEvent&);
  void OnAllFiles(wxCommandEvent&);
  void OnOverwrite(wxCommandEvent&);
  void OnSubFolderOutput(wxCommandEvent&);
  void OnHomePage(wxCommandEvent&);
  void OnNamesUpper(wxCommandEvent&);
  void OnNamesLower(wxCommandEvent&);
  void OnHelp(wxCommandEvent& event);
  void OnOk(wxCommandEvent&);
  void OnCharHook(wxKeyEvent& event);
  void OnContextMenu(wxContextMenuEvent& event);
  void OnSubFolderText(wxCommandEvent&);

  wxTextCtrl* m_folderBox = nullptr;
  wxTextCtrl* m_subFolderBox = nullptr;
  wxStaticText* m_subFolderLabel = nullptr;
  wxChoice* m_fileType = nullptr;
  wxRadioButton* m_upper = nullptr;
  wxRadioButton* m_selectedOnly = nullptr;
  wxRadioButton* m_overwrite = nullptr;
  wxCheckBox* m_byAssociation = nullptr;
  std::string m_acceptedSubFolder;  // box 1009's text within its limit

  MessageBoxSink m_messageBoxes{this};
  MessageSink* m_messages = &m_messageBoxes;
  MessageSink* m_run = nullptr;
  FolderChooser m_chooseFolder;
  GioDesktop m_desktop;
  std::unique_ptr<ListBoxFileList> m_files;
  std::unique_ptr<ConvertDlgLogic> m_logic;

  wxDECLARE_CLASS(CConvertDlg);
  wxDECLARE_EVENT_TABLE();
};

}  // namespace zormin
