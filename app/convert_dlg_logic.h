#pragma once
// What the main window decides, without the toolkit: its stored fields, the
// steps of every handler in their order, the input limits, which controls are
// enabled. The dialog class only moves values between these rules and its
// controls; the tests drive the rules through a fake.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/desktop.h"
#include "core/case_mode.h"
#include "core/message.h"
#include "folder/file_list.h"
#include "settings/settings_file.h"

namespace zormin {

// The three string fields, in the order the close step takes them.
enum class Field { Folder, SubFolder, FileType };

// Input limits in Shift_JIS bytes (see AnsiLength).
inline constexpr std::size_t kFolderLimit = 256;
inline constexpr std::size_t kSubFolderLimit = 128;
inline constexpr std::size_t kFileTypeLimit = 32;

// The controls of the main window as the rules see them. Texts are UTF-8.
class ConvertDlgControls {
 public:
  virtual ~ConvertDlgControls() = default;
  virtual FileList& Files() = 0;
  virtual MessageSink& Messages() = 0;

  virtual std::string FolderText() const = 0;     // box 1000
  virtual std::string SubFolderText() const = 0;  // box 1009
  virtual std::string FileTypeText() const = 0;   // the selected item of 1004
  // Box 1000 shows `folder`, box 1009 `subFolder`, combo 1004 selects item
  // `fileTypeItem` (-1: none).
  virtual void ShowFields(const std::string& folder, const std::string& subFolder, int fileTypeItem) = 0;

  virtual bool UpperChecked() const = 0;         // 1005, else 1006
  virtual bool SelectedOnlyChecked() const = 0;  // 1007, else 1008
  virtual bool OverwriteChecked() const = 0;     // 1010, else 1011
  virtual bool OpenByAssociationChecked() const = 0;  // 1016
  virtual void CheckDefaults() = 0;              // 1005, 1007 and 1010
  virtual void EnableSubFolder(bool enable) = 0; // label 1013 and box 1009

  // Puts the focus on the field's control; an edit box's whole text is selected.
  virtual void FocusField(Field field) = 0;
  // The folder chooser, opening on `folder` (bytes). nullopt: cancelled.
  virtual std::optional<std::string> ChooseFolder(const std::string& folder) = 0;
  // The busy cursor, while the list is rebuilt.
  virtual void SetBusy(bool busy) = 0;
};

// The home page the home-page button opens.
#ifndef ZORMIN_HOME_PAGE
#define ZORMIN_HOME_PAGE "https://www.example.com/velsk/"
#endif
inline constexpr std::string_view kHomePage = ZORMIN_HOME_PAGE;

// The limit message for `limit` bytes.
std::string TooLongMessage(std::size_t limit);

// The index of the first file type that begins with `text`, ignoring case
// (ASCII), or -1.
int FindFileTypeItem(std::string_view text);

class ConvertDlgLogic {
 public:
  // `settings` was placed when the program started; it is read by Init and
  // written by Destroy.
  ConvertDlgLogic(ConvertDlgControls& controls, Desktop& desktop, SettingsFile settings);

  // After the controls exist: ShowFields, the browser probe, the default
  // options, the folder from the settings file, ShowFields again.
  void Init();
  // The handlers of the event table.
  void StartConversion();
  void BrowseFolder();
  void OpenListedFile();
  void FileTypeChanged();
  void SelectedOnlyClicked();
  void AllFilesClicked();
  void OverwriteClicked();
  void SubFolderOutputClicked();
  void OpenHomePage();
  void ChangeNameCase(CaseMode mode);
  // The close step of the exit button: takes the three fields from their
  // controls in exchange order, each checked against its limit. False, after
  // a message and with the focus on the control, when one is too long: the
  // window stays open.
  bool TakeFields();
  // When the window goes, however it was closed.
  void Destroy();

  void ShowFields();
  void RefreshFileList();

  const std::string& folder() const { return m_strFolder; }
  const std::string& subFolder() const { return m_strSubFolder; }
  const std::string& fileType() const { return m_strFileType; }
  const std::string& browserPath() const { return m_szBrowserPath; }
  void SetFolder(std::string folder) { m_strFolder = std::move(folder); }

 private:
  void TakeSubFolderName();
  void EnterFolder();

  ConvertDlgControls& m_controls;
  Desktop& m_desktop;
  SettingsFile m_settings;
  std::string m_strFolder;  // bytes, as the system gave them
  std::string m_strSubFolder;
  std::string m_strFileType;
  std::string m_szBrowserPath;
};

}  // namespace zormin
