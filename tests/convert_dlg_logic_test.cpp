// The main window's rules, driven through fake controls: no display needed.

#include "app/convert_dlg_logic.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "app/legacy_text.h"
#include "app/window_texts.h"
#include "core/texts.h"
#include "test_util.h"
#include "window_folder_test.h"

namespace zormin {
namespace {

namespace fs = std::filesystem;
using testing::ShownMessage;

class FakeControls : public ConvertDlgControls {
 public:
  FileList& Files() override { return list; }
  MessageSink& Messages() override { return sink; }
  std::string FolderText() const override { return folderBox; }
  std::string SubFolderText() const override { return subFolderBox; }
  std::string FileTypeText() const override { return fileTypeItem >= 0 ? std::string(window_text::kFileTypes[fileTypeItem]) : ""; }
  void ShowFields(const std::string& folder, const std::string& subFolder, int item) override {
    folderBox = folder;
    subFolderBox = subFolder;
    fileTypeItem = item;
    ++shown;
  }
  bool UpperChecked() const override { return upper; }
  bool SelectedOnlyChecked() const override { return selectedOnly; }
  bool OverwriteChecked() const override { return overwrite; }
  bool OpenByAssociationChecked() const override { return byAssociation; }
  void CheckDefaults() override { upper = selectedOnly = overwrite = true; }
  void EnableSubFolder(bool enable) override { subFolderEnabled = enable; }
  void FocusField(Field field) override { focused = field; }
  std::optional<std::string> ChooseFolder(const std::string& folder) override {
    chooserOpenedOn = folder;
    return chosen;
  }
  void SetBusy(bool) override {}

  VectorFileList list;
  testing::RecordingSink sink;
  std::string folderBox, subFolderBox;
  int fileTypeItem = -1;
  int shown = 0;
  bool upper = false, selectedOnly = false, overwrite = false, byAssociation = false, subFolderEnabled = true;
  std::optional<Field> focused;
  std::optional<std::string> chosen, chooserOpenedOn;
};

class FakeDesktop : public Desktop {
 public:
  std::string HtmlProgram() override { return "/usr/bin/browser"; }
  bool OpenAsText(const std::string& path) override { return Record("text", path); }
  bool OpenWithOwnApplication(const std::string& path) override { return Record("own", path); }
  void OpenAddress(const std::string& program, std::string_view address) override {
    Record(program, std::string(address));
  }
  bool Record(const std::string& how, const std::string& what) {
    launches.push_back(how + " " + what);
    return launchWorks;
  }
  std::vector<std::string> launches;
  bool launchWorks = true;
};

class ConvertDlgLogicTest : public testing::WindowFolderTest {
 protected:
  // Starts the window with `folder` in its settings file.
  ConvertDlgLogic& Start(const std::optional<std::string>& folder) {
    if (folder) Settings().Write(*folder);
    logic.emplace(controls, desktop, Settings());
    logic->Init();
    return *logic;
  }

  FakeControls controls;
  FakeDesktop desktop;
  std::optional<ConvertDlgLogic> logic;
};

TEST_F(ConvertDlgLogicTest, StartsWithTheDefaultsAndTheFolderOfTheSettingsFile) {
  Touch("b.htm");
  Touch("A.htm");
  Touch("c.txt");
  ConvertDlgLogic& window = Start(web);
  EXPECT_TRUE(controls.upper && controls.selectedOnly && controls.overwrite);
  EXPECT_FALSE(controls.subFolderEnabled);
  EXPECT_EQ(controls.folderBox, web);
  EXPECT_EQ(controls.subFolderBox, "NewFolder");
  EXPECT_EQ(controls.fileTypeItem, 0);
  EXPECT_EQ(controls.list.names(), (std::vector<std::string>{"A.htm", "b.htm"}));
  EXPECT_EQ(controls.list.Selected(), -1);  // although "selected file only" is checked
  EXPECT_EQ(fs::current_path(), fs::path(web));
  EXPECT_EQ(window.browserPath(), "/usr/bin/browser");
}

TEST_F(ConvertDlgLogicTest, StartsWithNoFolderWithoutASettingsFile) {
  Start(std::nullopt);
  EXPECT_EQ(controls.folderBox, "");
  EXPECT_EQ(controls.list.Count(), 0u);
  EXPECT_EQ(fs::current_path(), oldCwd());
}

TEST_F(ConvertDlgLogicTest, TheRunTakesTheSubFolderNameBeforeItChecksTheFolder) {
  ConvertDlgLogic& window = Start(std::nullopt);
  controls.subFolderBox = "Typed";
  window.StartConversion();
  EXPECT_EQ(window.subFolder(), "Typed");
  EXPECT_EQ(controls.sink.messages,
            (std::vector<ShownMessage>{{std::string(text::kNoFolder), MessageButtons::Ok, MessageIcon::Error}}));
}

TEST_F(ConvertDlgLogicTest, HandlersThatShowTheFieldsReplaceUnusedTypingInTheSubFolderBox) {
  Touch("a.htm");
  struct Row {
    const char* what;
    void (ConvertDlgLogic::*handler)();
  };
  const Row rows[] = {
      {"overwrite", &ConvertDlgLogic::OverwriteClicked},
      {"subfolder output", &ConvertDlgLogic::SubFolderOutputClicked},
      {"file type", &ConvertDlgLogic::FileTypeChanged},
      {"browse", &ConvertDlgLogic::BrowseFolder},
  };
  ConvertDlgLogic& window = Start(web);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    controls.subFolderBox = "Typed";
    (window.*row.handler)();
    EXPECT_EQ(controls.subFolderBox, "NewFolder");
  }
}

TEST_F(ConvertDlgLogicTest, RadiosSetTheSelectionAndTheSubFolderBox) {
  Touch("a.htm");
  Touch("b.htm");
  ConvertDlgLogic& window = Start(web);
  window.SelectedOnlyClicked();
  EXPECT_EQ(controls.list.Selected(), 0);
  window.AllFilesClicked();
  EXPECT_EQ(controls.list.Selected(), -1);

  controls.overwrite = false;  // 1011 checked
  window.SubFolderOutputClicked();
  EXPECT_TRUE(controls.subFolderEnabled);
  controls.overwrite = true;
  window.OverwriteClicked();
  EXPECT_FALSE(controls.subFolderEnabled);
}

TEST_F(ConvertDlgLogicTest, AFileTypeChangeRebuildsTheListWithNothingSelected) {
  Touch("a.htm");
  Touch("b.html");
  ConvertDlgLogic& window = Start(web);
  controls.list.Select(0);
  controls.fileTypeItem = 1;
  window.FileTypeChanged();
  EXPECT_EQ(window.fileType(), "*.html");
  EXPECT_EQ(controls.list.names(), std::vector<std::string>{"b.html"});
  EXPECT_EQ(controls.list.Selected(), -1);
}

TEST_F(ConvertDlgLogicTest, ACancelledChooserStillRebuildsTheList) {
  Touch("a.htm");
  ConvertDlgLogic& window = Start(web);
  controls.list.Select(0);
  controls.chosen.reset();
  window.BrowseFolder();
  EXPECT_EQ(controls.chooserOpenedOn, web);
  EXPECT_EQ(window.folder(), web);
  EXPECT_EQ(controls.list.Count(), 1u);
  EXPECT_EQ(controls.list.Selected(), -1);
}

TEST_F(ConvertDlgLogicTest, TheCloseStepChecksEachFieldInExchangeOrder) {
  const std::string fullWidth = "あ";   // 2 bytes in Shift_JIS
  const std::string halfWidth = "ｱ";   // 1 byte
  const auto repeat = [](const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
  };
  struct Row {
    const char* what;
    std::string folder, subFolder;
    std::optional<Field> failed;
    std::size_t limit;
  };
  const Row rows[] = {
      {"all within", "/" + repeat(fullWidth, 127) + "x", repeat(halfWidth, 128), std::nullopt, 0},
      {"folder of 257 bytes", "/" + repeat("x", 256), "sub", Field::Folder, 256},
      {"subfolder of 130 bytes", "/web", repeat(fullWidth, 65), Field::SubFolder, 128},
      {"both too long: the folder is named", repeat("x", 300), repeat("x", 300), Field::Folder, 256},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    controls = FakeControls();
    ConvertDlgLogic& window = Start(std::nullopt);
    controls.folderBox = row.folder;
    controls.subFolderBox = row.subFolder;
    controls.fileTypeItem = 2;
    EXPECT_EQ(window.TakeFields(), !row.failed);
    EXPECT_EQ(controls.focused, row.failed);
    EXPECT_EQ(window.folder(), row.folder);  // the failing field is taken too
    if (!row.failed) {
      EXPECT_TRUE(controls.sink.messages.empty());
      EXPECT_EQ(window.subFolder(), row.subFolder);
      EXPECT_EQ(window.fileType(), "*.cgi");
      continue;
    }
    EXPECT_EQ(controls.sink.messages, (std::vector<ShownMessage>{{TooLongMessage(row.limit), MessageButtons::Ok,
                                                                   MessageIcon::Exclamation}}));
    // Fields after the failing one are not taken.
    EXPECT_EQ(window.fileType(), "*.htm");
    if (row.failed == Field::Folder) {
      EXPECT_EQ(window.subFolder(), "NewFolder");
    }
  }
  EXPECT_EQ(TooLongMessage(256), "256 文字以内で入力してください。");
}

TEST_F(ConvertDlgLogicTest, AFolderThatIsNotUtf8KeepsItsBytesThroughTheBoxAndTheSettingsFile) {
  const std::string sjis = web + "/" + testing::Encode("資料", "SHIFT_JIS");
  fs::create_directory(sjis);
  testing::WriteFileBytes(fs::path(sjis) / "a.htm", "<P>x</P>\n");
  {
    ConvertDlgLogic& window = Start(sjis);
    EXPECT_EQ(controls.folderBox, web + "/資料");
    EXPECT_EQ(controls.list.Count(), 1u);
    ASSERT_TRUE(window.TakeFields());
    EXPECT_EQ(window.folder(), sjis);
    window.Destroy();
  }
  EXPECT_EQ(testing::ReadFileBytes(Settings().path()), sjis + "\r\n");
}

TEST_F(ConvertDlgLogicTest, TheFolderKeepsItsCase) {
  fs::create_directory(dir() / "web" / "MixedCase");
  const std::string folder = web + "/MixedCase";
  ConvertDlgLogic& window = Start(folder);
  ASSERT_TRUE(window.TakeFields());
  window.Destroy();
  EXPECT_EQ(testing::ReadFileBytes(Settings().path()), folder + "\r\n");
}

TEST_F(ConvertDlgLogicTest, ALaunchGetsTheWholeNameInTheFolder) {
  const std::string longName = std::string(90, 'n') + " 'q' \"d\" $HOME 日本.htm";
  Touch(longName);
  ConvertDlgLogic& window = Start(web);
  controls.list.Select(0);
  window.OpenListedFile();
  controls.byAssociation = true;
  window.OpenListedFile();
  desktop.launchWorks = false;
  window.OpenListedFile();
  EXPECT_EQ(desktop.launches, (std::vector<std::string>{"text " + web + "/" + longName, "own " + web + "/" + longName,
                                                        "own " + web + "/" + longName}));
  EXPECT_EQ(controls.sink.messages, (std::vector<ShownMessage>{{std::string(window_text::kEditorNotStarted),
                                                                MessageButtons::Ok, MessageIcon::Exclamation}}));
}

TEST_F(ConvertDlgLogicTest, ALaunchWithNoFolderIsRefused) {
  ConvertDlgLogic& window = Start(std::nullopt);
  window.OpenListedFile();
  EXPECT_TRUE(desktop.launches.empty());
  EXPECT_EQ(controls.sink.messages,
            (std::vector<ShownMessage>{{std::string(text::kNoFolder), MessageButtons::Ok, MessageIcon::Error}}));
}

TEST_F(ConvertDlgLogicTest, TheHomePageOpensInTheProgramFoundAtStart) {
  Start(std::nullopt).OpenHomePage();
  EXPECT_EQ(desktop.launches, std::vector<std::string>{"/usr/bin/browser " + std::string(kHomePage)});
}

TEST(FileTypeItemTest, TheFirstItemThatBeginsWithTheTextIgnoringCase) {
  const std::pair<const char*, int> rows[] = {
      {"*.htm", 0}, {"*.HTML", 1}, {"*.CGI", 2}, {"*.pl", 3}, {"*.*", 4}, {"*.h", 0}, {"*.txt", -1},
  };
  for (const auto& [text, item] : rows) {
    SCOPED_TRACE(text);
    EXPECT_EQ(FindFileTypeItem(text), item);
  }
}

TEST(LegacyTextTest, LengthsCountAsShiftJisBytes) {
  const std::pair<std::string, std::size_t> rows[] = {
      {"abc", 3},
      {"ｱｲｳﾞ", 4},                                 // half-width katakana
      {"日本語", 6},                                 // full-width
      {"é", 2},                                     // no Shift_JIS form: counted as two
      {testing::Encode("日本", "SHIFT_JIS"), 4},    // already Shift_JIS: its bytes
  };
  for (const auto& [text, length] : rows) {
    SCOPED_TRACE(text);
    EXPECT_EQ(AnsiLength(text), length);
  }
}

TEST(LegacyTextTest, NamesAreShownReadably) {
  const std::pair<std::string, std::string> rows[] = {
      {"index.htm", "index.htm"},
      {"資料.htm", "資料.htm"},
      {testing::Encode("資料ｱ.htm", "SHIFT_JIS"), "資料ｱ.htm"},
      {"a\xFF\x80\\b", "a\\xFF\\x80\\x5Cb"},  // neither: escaped, the backslash too
  };
  for (const auto& [bytes, shown] : rows) {
    SCOPED_TRACE(shown);
    EXPECT_EQ(ReadableName(bytes), shown);
  }
}

}  // namespace
}  // namespace zormin
