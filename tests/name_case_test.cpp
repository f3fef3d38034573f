// The file-name case change: the new names, the renames and their failures,
// the question in all-entries mode, and the list afterwards.

#include "folder/name_case.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "test_util.h"

namespace zormin {
namespace {

namespace fs = std::filesystem;

using testing::ShownMessage;
using Messages = std::vector<ShownMessage>;
using Names = std::vector<std::string>;

constexpr CaseMode U = CaseMode::Upper;
constexpr CaseMode L = CaseMode::Lower;

ShownMessage Ok(std::string_view text, MessageIcon icon = MessageIcon::Exclamation) {
  return {std::string(text), MessageButtons::Ok, icon};
}
ShownMessage RenameFailed(const std::string& name) {
  return Ok("リネームできませんでした。\n[ " + name + " ]");
}
ShownMessage RenameFailedStop(const std::string& name) {
  return {"リネームできませんでした。\n[ " + name + " ]\n処理を中断しますか？", MessageButtons::YesNo,
          MessageIcon::Exclamation};
}

TEST(MapNameCase, AsciiLettersOnlyAndNeverASecondByte) {
  struct Row {
    const char* what;
    std::string name;
    CaseMode mode;
    std::string expected;
  };
  const Row rows[] = {
      {"upper", "Index.HTM", U, "INDEX.HTM"},
      {"lower", "Index.HTM", L, "index.htm"},
      {"UTF-8: full-width letter kept", "\xEF\xBC\xA1" "b.HTM", L, "\xEF\xBC\xA1" "b.htm"},
      {"Shift_JIS: 0x83 0x41 is one character", "\x83\x41" "B.HTM", L, "\x83\x41" "b.htm"},
      {"Shift_JIS: 0x83 0x61 is one character", "\x83\x61" "b.htm", U, "\x83\x61" "B.HTM"},
      {"Shift_JIS: half-width kana is a single byte", "\xB1" "A.HTM", L, "\xB1" "a.htm"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(MapNameCase(row.name, row.mode), row.expected);
  }
}

class NameCaseTest : public testing::TempDirTest {
 protected:
  void Write(const std::string& name, std::string_view bytes = "x") { testing::WriteFileBytes(dir() / name, bytes); }
  std::string Read(const std::string& name) { return testing::ReadFileBytes(dir() / name); }
  Names Folder() {  // every entry of the folder, in list order
    VectorFileList all;
    RefreshFileList(all, dir(), "*.*");
    return all.names();
  }
  NameCaseOutcome Change(CaseMode mode, bool allFiles, long select = -1) {
    RefreshFileList(list, dir(), "*.*");
    list.Select(select);
    NameCaseOptions options;
    options.folder = dir();
    options.fileType = "*.*";
    options.allFiles = allFiles;
    return ChangeNameCase(mode, options, list, sink);
  }

  VectorFileList list;
  testing::RecordingSink sink;
};

TEST_F(NameCaseTest, RenamesTheSelectedFileAndSelectsItsPlaceAgain) {
  struct Row {
    const char* name;
    CaseMode mode;
    const char* expected;
  };
  const Row rows[] = {
      {"Index.HTM", U, "INDEX.HTM"},
      {"Index.HTM", L, "index.htm"},
      {"index.htm", L, "index.htm"},  // already so: left alone
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    for (const std::string& name : Folder()) fs::remove(dir() / name);
    Write("a.htm", "a");
    Write(row.name, "file");
    Write("z.htm", "z");
    struct stat before {}, after {};
    ASSERT_EQ(stat((dir() / row.name).c_str(), &before), 0);
    sink = {};
    EXPECT_EQ(Change(row.mode, false, 1), NameCaseOutcome::Renamed);
    ASSERT_EQ(stat((dir() / row.expected).c_str(), &after), 0);
    // A rename changes the time of the last change; leaving alone does not.
    const bool untouched = before.st_ctim.tv_sec == after.st_ctim.tv_sec && before.st_ctim.tv_nsec == after.st_ctim.tv_nsec;
    EXPECT_EQ(untouched, std::string(row.name) == row.expected);
    EXPECT_EQ(sink.messages, Messages{});
    EXPECT_EQ(Folder(), (Names{"a.htm", row.expected, "z.htm"}));
    EXPECT_EQ(Read(row.expected), "file");
    EXPECT_EQ(list.names(), Folder());  // rebuilt
    EXPECT_EQ(list.Selected(), 1);
  }
}

TEST_F(NameCaseTest, NothingToRename) {
  struct Row {
    const char* what;
    bool folder;
    bool withFile;
    Messages expected;
    NameCaseOutcome outcome;
  };
  const Row rows[] = {
      {"no folder", false, true, {Ok(text::kNoFolder, MessageIcon::Error)}, NameCaseOutcome::NoFolder},
      {"nothing listed", true, false, {Ok(text::kNoFiles)}, NameCaseOutcome::NoFiles},
      {"nothing selected", true, true, {Ok(text::kNothingSelected)}, NameCaseOutcome::NothingSelected},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    std::error_code ec;
    fs::remove(dir() / "a.htm", ec);
    if (row.withFile) Write("a.htm");
    RefreshFileList(list, dir(), "*.htm");
    Write("later.htm");  // shows whether the list is rebuilt
    sink = {};
    NameCaseOptions options;
    if (row.folder) options.folder = dir();
    EXPECT_EQ(ChangeNameCase(U, options, list, sink), row.outcome);
    EXPECT_EQ(sink.messages, row.expected);
    EXPECT_TRUE(fs::exists(dir() / "later.htm"));
    // Only a run that got as far as the selection rebuilds the list.
    EXPECT_EQ(list.Count(), row.outcome == NameCaseOutcome::NothingSelected ? 2u : row.withFile ? 1u : 0u);
    fs::remove(dir() / "later.htm");
  }
}

// Names differ by case only here, so the new name can be taken: the file
// must keep its own name, the other file must stay untouched, and the
// temporary name must be free again.
TEST_F(NameCaseTest, TakenNameIsNeverReplaced) {
  Write("A.HTM", "upper");
  Write("a.htm", "lower");
  EXPECT_EQ(Change(U, false, 1), NameCaseOutcome::Failed);  // list: A.HTM, a.htm
  EXPECT_EQ(sink.messages, Messages{RenameFailed("a.htm")});
  EXPECT_EQ(Folder(), (Names{"A.HTM", "a.htm"}));
  EXPECT_EQ(Read("A.HTM"), "upper");
  EXPECT_EQ(Read("a.htm"), "lower");
  EXPECT_EQ(list.Selected(), 1);
}

// Where the file system tells case apart, a rename is one step: a file of
// anyone else under the temporary name neither blocks it nor is touched.
TEST_F(NameCaseTest, TemporaryNameIsNotNeededWhereCaseCounts) {
  Write("pelvad_temp_name.tmp", "someone else's");
  Write("b.htm", "b");
  EXPECT_EQ(Change(U, false, 0), NameCaseOutcome::Renamed);  // list: b.htm, pelvad_temp_name.tmp
  EXPECT_EQ(sink.messages, Messages{});
  EXPECT_EQ(Read("B.HTM"), "b");
  EXPECT_EQ(Read("pelvad_temp_name.tmp"), "someone else's");
}

TEST_F(NameCaseTest, AllEntriesAskWhetherToStopAfterAFailure) {
  struct Row {
    MessageAnswer answer;
    NameCaseOutcome outcome;
    Names after;
  };
  const Row rows[] = {
      {MessageAnswer::No, NameCaseOutcome::Failed, {"A.HTM", "a.htm", "B.HTM"}},
      {MessageAnswer::Yes, NameCaseOutcome::Stopped, {"A.HTM", "a.htm", "b.htm"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.answer == MessageAnswer::Yes ? "Yes stops" : "No goes on");
    for (const std::string& name : Folder()) fs::remove(dir() / name);
    Write("A.HTM", "upper");
    Write("a.htm", "lower");
    Write("b.htm", "b");
    sink = {};
    sink.answers = {row.answer};
    EXPECT_EQ(Change(U, true), row.outcome);
    EXPECT_EQ(sink.messages, Messages{RenameFailedStop("a.htm")});
    EXPECT_EQ(Folder(), row.after);
    EXPECT_EQ(Read("a.htm"), "lower");
    EXPECT_EQ(list.Selected(), -1);
  }
}

TEST_F(NameCaseTest, ShiftJisNamesKeepTheirCharacters) {
  const std::string a = "\x83\x41" "B.HTM";  // "ア" then "B.HTM"
  Write(a);
  EXPECT_EQ(Change(L, true), NameCaseOutcome::Renamed);
  EXPECT_EQ(Folder(), Names{"\x83\x41" "b.htm"});
}

TEST_F(NameCaseTest, RenameByLinkRenamesButNeverReplaces) {
  Write("from", "from");
  Write("taken", "taken");
  std::error_code ec;
  EXPECT_FALSE(detail::RenameByLink(dir() / "from", dir() / "taken", ec));
  EXPECT_EQ(ec, std::errc::file_exists);
  EXPECT_EQ(Read("from"), "from");
  EXPECT_EQ(Read("taken"), "taken");

  EXPECT_TRUE(detail::RenameByLink(dir() / "from", dir() / "to", ec));
  EXPECT_EQ(Folder(), (Names{"taken", "to"}));
  EXPECT_EQ(Read("to"), "from");
}

}  // namespace
}  // namespace zormin
