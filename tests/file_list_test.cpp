// The file list: which names a file type matches, the order, and which
// entries of a folder are listed.

#include "folder/file_list.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "test_util.h"

namespace zormin {
namespace {

namespace fs = std::filesystem;

using Names = std::vector<std::string>;

TEST(MatchFileType, Table) {
  struct Row {
    const char* pattern;
    const char* name;
    bool matches;
  };
  const Row rows[] = {
      {"*.htm", "index.htm", true},
      {"*.htm", "INDEX.HTM", true},  // still listed after a rename to upper case
      {"*.HTM", "Index.htm", true},
      {"*.htm", "index.html", false},
      {"*.htm", "index.htm.bak", false},
      {"*.htm", ".htm", true},
      {"*.html", "a.HTML", true},
      {"*.*", "noext", true},
      {"*.*", ".hidden", true},
      {"*.*", "a.b.c", true},
      {"a.*", "a", true},  // a trailing ".*" also takes a name without a dot
      {"a.*", "ab", false},
      {"?.pl", "x.pl", true},
      {"?.pl", "xy.pl", false},
      {"?.pl", "\xE3\x81\x82.pl", true},  // one UTF-8 character is one '?'
      {"??.pl", "\xE3\x81\x82.pl", false},
      {"*x*y", "axbxcy", true},  // the star gives back characters as needed
      {"*x*y", "axbxc", false},
      {"*.cgi", "", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.pattern) + " ~ " + row.name);
    EXPECT_EQ(MatchFileType(row.pattern, row.name), row.matches);
  }
}

TEST(FileNameLess, CaseInsensitiveWithTiesByBytes) {
  Names names = {"b.htm", "A.htm", "a.htm", "B.htm", "a", "_x.htm", "ab.htm", "Ab.htm", "\xE3\x81\x82.htm"};
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return FileNameLess(a, b); });
  const Names expected = {"_x.htm", "a", "A.htm", "a.htm", "Ab.htm", "ab.htm", "B.htm", "b.htm", "\xE3\x81\x82.htm"};
  EXPECT_EQ(names, expected);
}

class RefreshFileListTest : public testing::TempDirTest {
 protected:
  void Touch(const std::string& name) { testing::WriteFileBytes(dir() / name, "x"); }
  Names List(std::string_view pattern) {
    VectorFileList list;
    EXPECT_TRUE(RefreshFileList(list, dir(), pattern));
    return list.names();
  }
};

TEST_F(RefreshFileListTest, ListsRegularFilesAndLinksToThemOnly) {
  Touch("b.htm");
  Touch("A.htm");
  Touch(".hidden.htm");
  Touch("other.txt");
  fs::create_directory(dir() / "c.htm");
  fs::create_directory_symlink("c.htm", dir() / "dirlink.htm");
  fs::create_symlink("b.htm", dir() / "link.htm");
  fs::create_symlink("nowhere", dir() / "broken.htm");
  ASSERT_EQ(mkfifo((dir() / "fifo.htm").c_str(), 0600), 0);

  EXPECT_EQ(List("*.htm"), (Names{".hidden.htm", "A.htm", "b.htm", "link.htm"}));
  EXPECT_EQ(List("*.*"), (Names{".hidden.htm", "A.htm", "b.htm", "link.htm", "other.txt"}));
  EXPECT_EQ(List("*.pl"), Names{});
}

TEST_F(RefreshFileListTest, TakesLongNamesWhole) {
  const std::string longName = std::string(251, 'n') + ".htm";  // 255 bytes, the longest a name can be
  const std::string japanese = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E" + std::string(120, 'x') + ".htm";
  Touch(longName);
  Touch(japanese);
  EXPECT_EQ(List("*.htm"), (Names{longName, japanese}));
}

TEST_F(RefreshFileListTest, ClearsListAndSelectionWhateverHappens) {
  Touch("a.htm");
  Touch("b.htm");
  VectorFileList list;
  list.Add("stale.htm");
  list.Select(0);

  ASSERT_TRUE(RefreshFileList(list, dir(), "*.htm"));
  EXPECT_EQ(list.names(), (Names{"a.htm", "b.htm"}));
  EXPECT_EQ(list.Selected(), -1);

  list.Select(1);
  EXPECT_EQ(RefreshFileList(list, "", "*.htm").status, ListStatus::NoFolder);
  EXPECT_EQ(list.Count(), 0u);
  EXPECT_EQ(list.Selected(), -1);

  list.Add("stale.htm");
  const FileListResult missing = RefreshFileList(list, dir() / "missing", "*.htm");
  EXPECT_EQ(missing.status, ListStatus::NotOpened);
  EXPECT_EQ(missing.error, std::errc::no_such_file_or_directory);
  EXPECT_EQ(list.Count(), 0u);
}

}  // namespace
}  // namespace zormin
