#include "app/convert_dlg_logic.h"

#include <unistd.h>

#include "app/legacy_text.h"
#include "app/window_texts.h"
#include "folder/conversion_run.h"
#include "folder/name_case.h"

namespace zormin {

namespace {

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (prefix.size() > text.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (FoldCase(text[i]) != FoldCase(prefix[i])) return false;
  }
  return true;
}

}  // namespace

std::string TooLongMessage(std::size_t limit) {
  std::string message(window_text::kTooLong);
  message.replace(message.find("%1"), 2, std::to_string(limit));
  return message;
}

int FindFileTypeItem(std::string_view text) {
  for (std::size_t i = 0; i < window_text::kFileTypes.size(); ++i) {
    if (StartsWithIgnoringCase(window_text::kFileTypes[i], text)) return static_cast<int>(i);
  }
  return -1;
}

ConvertDlgLogic::ConvertDlgLogic(ConvertDlgControls& controls, Desktop& desktop, SettingsFile settings)
    : m_controls(controls),
      m_desktop(desktop),
      m_settings(std::move(settings)),
      m_strSubFolder(kDefaultSubFolder),
      m_strFileType(kDefaultFileType) {}

void ConvertDlgLogic::Init() {
  ShowFields();
  // Which program opens web pages is asked by type: nothing is written to
  // the shared temporary folder to find out.
  m_szBrowserPath = m_desktop.HtmlProgram();
  m_controls.CheckDefaults();
  m_controls.EnableSubFolder(false);
  if (const std::optional<std::string> folder = m_settings.Read()) {
    if (!folder->empty()) m_strFolder = *folder;
    EnterFolder();
  }
  // The list's selection stays empty although "selected file only" is checked.
  ShowFields();
}

void ConvertDlgLogic::ShowFields() {
  m_controls.ShowFields(ReadableName(m_strFolder), m_strSubFolder, FindFileTypeItem(m_strFileType));
}

void ConvertDlgLogic::RefreshFileList() {
  m_controls.Files().Clear();
  if (m_strFolder.empty()) return;
  m_controls.SetBusy(true);
  const FileListResult listed = zormin::RefreshFileList(m_controls.Files(), m_strFolder, m_strFileType);
  m_controls.SetBusy(false);
  // What was read stays listed; one message says that the rest is missing.
  if (listed.status == ListStatus::CutShort) {
    m_controls.Messages().ShowMessage(text::kFolderNotReadCompletely, MessageButtons::Ok, MessageIcon::Error);
  }
  ShowFields();
}

// The working directory follows the selected folder; when the folder is gone
// it stays where it was, and the folder is kept all the same.
void ConvertDlgLogic::EnterFolder() {
  if (!m_strFolder.empty()) (void)::chdir(m_strFolder.c_str());
  RefreshFileList();
}

void ConvertDlgLogic::TakeSubFolderName() { m_strSubFolder = m_controls.SubFolderText(); }

void ConvertDlgLogic::StartConversion() {
  // The name in the box is taken before anything else, even when the run
  // then stops for want of a folder.
  TakeSubFolderName();
  ConversionOptions options;
  options.folder = m_strFolder;
  options.fileType = m_strFileType;
  options.subFolder = m_strSubFolder;
  options.mode = m_controls.UpperChecked() ? CaseMode::Upper : CaseMode::Lower;
  options.allFiles = !m_controls.SelectedOnlyChecked();
  options.overwrite = m_controls.OverwriteChecked();
  zormin::StartConversion(options, m_controls.Files(), m_controls.Messages());
}

void ConvertDlgLogic::BrowseFolder() {
  if (std::optional<std::string> chosen = m_controls.ChooseFolder(m_strFolder)) m_strFolder = std::move(*chosen);
  // Cancelled or not, the list is rebuilt.
  EnterFolder();
  ShowFields();
}

void ConvertDlgLogic::OpenListedFile() {
  if (m_strFolder.empty()) {
    m_controls.Messages().ShowMessage(text::kNoFolder, MessageButtons::Ok, MessageIcon::Error);
    return;
  }
  // The listed name, whole and as bytes, in the selected folder (with no
  // entry selected, the folder itself).
  const long selected = m_controls.Files().Selected();
  std::string path = m_strFolder;
  if (!path.ends_with('/')) path += '/';
  if (selected >= 0) path += m_controls.Files().Text(static_cast<std::size_t>(selected));
  const bool started = m_controls.OpenByAssociationChecked() ? m_desktop.OpenWithOwnApplication(path)
                                                             : m_desktop.OpenAsText(path);
  if (!started) {
    m_controls.Messages().ShowMessage(window_text::kEditorNotStarted, MessageButtons::Ok, MessageIcon::Exclamation);
  }
}

void ConvertDlgLogic::FileTypeChanged() {
  m_strFileType = m_controls.FileTypeText();
  RefreshFileList();
  ShowFields();
}

void ConvertDlgLogic::SelectedOnlyClicked() { m_controls.Files().Select(0); }

void ConvertDlgLogic::AllFilesClicked() { m_controls.Files().Select(-1); }

void ConvertDlgLogic::OverwriteClicked() {
  if (m_controls.OverwriteChecked()) m_controls.EnableSubFolder(false);
  ShowFields();
}

void ConvertDlgLogic::SubFolderOutputClicked() {
  if (!m_controls.OverwriteChecked()) m_controls.EnableSubFolder(true);
  ShowFields();
}

void ConvertDlgLogic::OpenHomePage() { m_desktop.OpenAddress(m_szBrowserPath, kHomePage); }

void ConvertDlgLogic::ChangeNameCase(CaseMode mode) {
  NameCaseOptions options;
  options.folder = m_strFolder;
  options.fileType = m_strFileType;
  options.allFiles = !m_controls.SelectedOnlyChecked();
  const NameCaseOutcome outcome = zormin::ChangeNameCase(mode, options, m_controls.Files(), m_controls.Messages());
  // Past the checks for a folder and a list, the list was rebuilt and the
  // fields are shown again.
  if (outcome != NameCaseOutcome::NoFolder && outcome != NameCaseOutcome::NoFiles) ShowFields();
}

bool ConvertDlgLogic::TakeFields() {
  const auto tooLong = [&](Field field, const std::string& value, std::size_t limit) {
    if (AnsiLength(value) <= limit) return false;
    m_controls.Messages().ShowMessage(TooLongMessage(limit), MessageButtons::Ok, MessageIcon::Exclamation);
    m_controls.FocusField(field);
    return true;
  };
  // The box shows a readable form of the folder: unchanged, it stands for
  // the folder's own bytes.
  const std::string shown = m_controls.FolderText();
  if (shown != ReadableName(m_strFolder)) m_strFolder = shown;
  if (tooLong(Field::Folder, m_strFolder, kFolderLimit)) return false;
  m_strSubFolder = m_controls.SubFolderText();
  if (tooLong(Field::SubFolder, m_strSubFolder, kSubFolderLimit)) return false;
  m_strFileType = m_controls.FileTypeText();
  return !tooLong(Field::FileType, m_strFileType, kFileTypeLimit);
}

void ConvertDlgLogic::Destroy() { m_settings.Write(m_strFolder); }

}  // namespace zormin
