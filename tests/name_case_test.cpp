// The file-name case change: the new names, the renames and their failures,
// the question in all-entries mode, and the list afterwards.

#include "folder/name_case.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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
  void SetUp() override {
    TempDirTest::SetUp();
    folder = dir();
  }
  void Write(const std::string& name, std::string_view bytes = "x") { testing::WriteFileBytes(folder / name, bytes); }
  std::string Read(const std::string& name) { return testing::ReadFileBytes(folder / name); }
  Names Folder() {  // every entry of the folder, in list order
    VectorFileList all;
    RefreshFileList(all, folder, "*.*");
    return all.names();
  }
  NameCaseOutcome Change(CaseMode mode, bool allFiles, long select = -1) {
    RefreshFileList(list, folder, "*.*");
    list.Select(select);
    NameCaseOptions options;
    options.folder = folder;
    options.fileType = "*.*";
    options.allFiles = allFiles;
    return ChangeNameCase(mode, options, list, sink);
  }

  fs::path folder;  // where the files are renamed
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
    for (const std::string& name : Folder()) fs::remove(folder / name);
    Write("a.htm", "a");
    Write(row.name, "file");
    Write("z.htm", "z");
    struct stat before {}, after {};
    ASSERT_EQ(stat((folder / row.name).c_str(), &before), 0);
    sink = {};
    EXPECT_EQ(Change(row.mode, false, 1), NameCaseOutcome::Renamed);
    ASSERT_EQ(stat((folder / row.expected).c_str(), &after), 0);
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

// A file that a killed run left under the temporary name, marked with its
// listed name, goes back to that name first, and is renamed with the rest.
TEST_F(NameCaseTest, MarkedLeftoverGetsItsNameBack) {
  Write("pelvad_temp_name.tmp", "index");
  if (setxattr((folder / "pelvad_temp_name.tmp").c_str(), kRenameMark, "Index.HTM", 9, 0) != 0) {
    GTEST_SKIP() << "no user extended attributes in " << folder << ": " << strerror(errno);
  }
  Write("b.htm", "b");
  EXPECT_EQ(Change(U, true), NameCaseOutcome::Renamed);
  EXPECT_EQ(sink.messages, Messages{});
  EXPECT_EQ(Folder(), (Names{"B.HTM", "INDEX.HTM"}));
  EXPECT_EQ(Read("INDEX.HTM"), "index");
}

// A FAT file system, which folds case, mounted for one test: by the kernel
// where it has vfat, else through FUSE by fusefat. Skipped, with the reason,
// where neither is possible.
class CaseFoldingTest : public NameCaseTest {
 protected:
  void SetUp() override {
    NameCaseTest::SetUp();
    if (!testing::IsRoot()) GTEST_SKIP() << "mounting a file system needs root";
    const char* mkfs = access("/usr/sbin/mkfs.vfat", X_OK) == 0 ? "/usr/sbin/mkfs.vfat" : "/sbin/mkfs.vfat";
    if (access(mkfs, X_OK) != 0) GTEST_SKIP() << "mkfs.vfat (dosfstools) is not installed";
    const fs::path image = dir() / "fat.img";
    m_mount = dir() / "fat";
    fs::create_directory(m_mount);
    testing::WriteFileBytes(image, "");
    fs::resize_file(image, 8 << 20);
    ASSERT_EQ(testing::RunProcess({mkfs, image.string()}).exitCode, 0);
    const auto kernel = testing::RunProcess({"/bin/mount", "-t", "vfat", "-o", "loop", image.string(), m_mount.string()});
    m_mounted = kernel.exitCode == 0;
    std::string why = "no vfat here (" + kernel.err + ")";
    if (!m_mounted && access("/usr/bin/fusefat", X_OK) == 0) {
      const auto fuse = testing::RunProcess({"/usr/bin/fusefat", "-o", "rw+", image.string(), m_mount.string()});
      m_mounted = fuse.exitCode == 0;
      why += ", fusefat failed: " + fuse.err;
    } else if (!m_mounted) {
      why += " and fusefat is not installed";
    }
    if (!m_mounted) GTEST_SKIP() << why;
    folder = m_mount;
  }
  void TearDown() override {
    if (m_mounted) testing::RunProcess({"/bin/umount", m_mount.string()});
    NameCaseTest::TearDown();
  }

 private:
  fs::path m_mount;
  bool m_mounted = false;
};

TEST_F(CaseFoldingTest, RenamesThroughTheTemporaryName) {
  struct Row {
    CaseMode mode;
    const char* expected;
  };
  for (const Row& row : {Row{U, "INDEX.HTM"}, Row{L, "index.htm"}}) {
    SCOPED_TRACE(row.expected);
    for (const std::string& name : Folder()) fs::remove(folder / name);
    Write("Index.HTM", "file");
    sink = {};
    EXPECT_EQ(Change(row.mode, true), NameCaseOutcome::Renamed);
    EXPECT_EQ(sink.messages, Messages{});
    EXPECT_EQ(Folder(), Names{row.expected});
    EXPECT_EQ(Read(row.expected), "file");
  }
}

// Here the temporary name is needed: a file of anyone else under it stops the
// rename, is kept, and is named as the file in the way.
TEST_F(CaseFoldingTest, TemporaryNameTakenStopsTheRename) {
  Write("pelvad_temp_name.tmp", "someone else's");
  Write("b.htm", "b");
  EXPECT_EQ(Change(U, false, 0), NameCaseOutcome::Failed);  // list: b.htm, pelvad_temp_name.tmp
  EXPECT_EQ(sink.messages, Messages{RenameFailed("b.htm")});
  EXPECT_EQ(sink.causes, (std::vector<testing::RecordingSink::Cause>{
                             {std::make_error_code(std::errc::file_exists), (folder / "pelvad_temp_name.tmp").string()}}));
  EXPECT_EQ(Folder(), (Names{"b.htm", "pelvad_temp_name.tmp"}));
  EXPECT_EQ(Read("pelvad_temp_name.tmp"), "someone else's");
}

// SIGTERM as the file goes to the temporary name: the program ends only once
// the file has a listed name again. strace sends the signal.
TEST_F(CaseFoldingTest, SignalDuringTheRenamingHidesNoFile) {
  if (testing::RunProcess({"/usr/bin/strace", "-o", "/dev/null", "/bin/true"}).exitCode != 0) {
    GTEST_SKIP() << "strace is not installed or cannot trace here";
  }
  Write("Index.HTM", "file");
  const auto result = testing::RunProcess(
      {"/usr/bin/strace", "-f", "-o", "/dev/null", "-P", (folder / "pelvad_temp_name.tmp").string(), "-e",
       "trace=rename,renameat2", "-e", "inject=rename,renameat2:signal=SIGTERM:when=1", ZORMIN_CLI, "names", "--upper",
       "--all", "--type", "*.*", folder.string()});
  EXPECT_EQ(result.exitCode, -1) << result.err;  // ended by the signal
  EXPECT_EQ(Folder(), Names{"INDEX.HTM"});
  EXPECT_EQ(Read("INDEX.HTM"), "file");
}

}  // namespace
}  // namespace zormin
