// Each command of zormin-cli in English and under a Japanese locale, where
// the texts it shares with the window are the program's own, byte for byte.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/messages.h"
#include "core/texts.h"
#include "test_util.h"

namespace zormin {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using testing::RunProcess;
using testing::WriteFileBytes;

class CliLanguageTest : public testing::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    fs::create_directory(dir() / "web");
  }
  // Runs zormin-cli in the temporary folder under `locale`.
  testing::ProcessResult Cli(const char* locale, std::vector<std::string> args) {
    testing::ScopedLanguage language(locale);
    args.insert(args.begin(), ZORMIN_CLI);
    return RunProcess(args, {}, dir());
  }
  // The folder web/ afresh.
  void Files() {
    fs::remove_all(dir() / "web");
    fs::create_directory(dir() / "web");
    WriteFileBytes(dir() / "web" / "a.htm", "<Html></Html>\n");
    WriteFileBytes(dir() / "web" / "b.htm", "<B>\n");
    WriteFileBytes(dir() / "web" / "p.png", "\x89PNG\r\n\x1A\n\0\0\0\rIHDR"s);
  }
  static std::string Line(std::string_view text) { return std::string(text) + "\n"; }
};

TEST_F(CliLanguageTest, EachCommandSpeaksEnglishOrTheProgramsJapanese) {
  struct Row {
    std::vector<std::string> args;
    int status;
    std::string english;   // standard error, whole
    std::string japanese;
  };
  const std::string usage = "Try 'zormin-cli --help'.\n";
  const std::string usageJa = "'zormin-cli --help' で使い方を表示します。\n";
  const Row rows[] = {
      {{"run", "--lower", "--all", "web"}, 0, "the tags of all files are now lower case\n",
       Line(text::kAllConvertedLower)},
      {{"run", "--upper", "--file", "a.htm", "web"}, 0, "the tags of the file are now upper case\n",
       Line(text::kSelectedConvertedUpper)},
      {{"run", "--lower", "--all", "--type", "*.*", "web"}, 1,
       "Every file of the folder is converted.\nAre they all HTML files? [y/N] n (no terminal to ask)\n",
       std::string(text::kConfirmAllFiles) + " [y/N] n (尋ねる端末がありません)\n"},
      {{"run", "--lower", "--all", "--type", "*.gif", "web"}, 1, "no *.gif files in web/ (use --type)\n",
       std::string(text::kNoFiles) + "(*.gif のファイルが web/ にありません。--type で種類を指定できます)\n"},
      {{"names", "--upper", "--all", "--type", "*.gif", "web/"}, 1, "no *.gif files in web/ (use --type)\n",
       std::string(text::kNoFiles) + "(*.gif のファイルが web/ にありません。--type で種類を指定できます)\n"},
      {{"names", "--upper", "--file", "b.htm", "web"}, 0, "", ""},
      {{"tags", "--lower", "web/p.png"}, 1, "web/p.png: not text: skipped\n", "web/p.png: " + Line(text::kNotText)},
      {{"list", "web", "web"}, 2, "zormin-cli: list takes one FOLDER\n" + usage,
       "zormin-cli: list に指定できる FOLDER は一つです\n" + usageJa},
      {{"run", "--lower", "web"}, 2, "zormin-cli: run needs --all or --file NAME\n" + usage,
       "zormin-cli: run には --all か --file NAME が必要です\n" + usageJa},
  };
  const bool japanese = testing::HasLocale("ja_JP.UTF-8");
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::PrintToString(row.args));
    Files();
    auto r = Cli("C.UTF-8", row.args);
    EXPECT_EQ(r.exitCode, row.status);
    EXPECT_EQ(r.err, row.english);
    if (!japanese) continue;
    Files();
    r = Cli("ja_JP.UTF-8", row.args);
    EXPECT_EQ(r.exitCode, row.status);
    EXPECT_EQ(r.err, row.japanese);
  }
  if (!japanese) GTEST_SKIP() << "the locale ja_JP.UTF-8 is not installed: English only";
}

// The names of a failed rename are the program's own text too; the
// system's reason that follows is the C library's.
TEST_F(CliLanguageTest, RenameFailureAndUsageInBothLanguages) {
  if (!testing::HasLocale("ja_JP.UTF-8")) GTEST_SKIP() << "the locale ja_JP.UTF-8 is not installed";
  WriteFileBytes(dir() / "web" / "a.htm", "a");
  WriteFileBytes(dir() / "web" / "A.HTM", "b");
  auto r = Cli("C.UTF-8", {"names", "--upper", "--file", "a.htm", "web"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.starts_with("a.htm: cannot rename\n[ a.htm ] (")) << r.err;
  r = Cli("ja_JP.UTF-8", {"names", "--upper", "--file", "a.htm", "web"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.starts_with("a.htm: " + cli::FillIn(text::kRenameFailed, {"a.htm"}) + " (")) << r.err;

  for (const char* command : {"tags", "list", "run", "names"}) {
    SCOPED_TRACE(command);
    r = Cli("C.UTF-8", {command, "--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.starts_with("Usage:\n  zormin-cli "s + command)) << r.out;
    EXPECT_NE(r.out.find("Options:\n"), std::string::npos);
    r = Cli("ja_JP.UTF-8", {command, "--help"});
    EXPECT_TRUE(r.out.starts_with("使い方:\n  zormin-cli "s + command)) << r.out;
    EXPECT_NE(r.out.find("オプション:\n"), std::string::npos);
  }
}

}  // namespace
}  // namespace zormin
