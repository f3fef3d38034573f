// zormin-cli list, run and names, run as a user runs them: exit status,
// output, and the files afterwards.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "core/texts.h"
#include "folder/name_case.h"
#include "cli_text.h"
#include "test_util.h"

extern char** environ;

namespace zormin {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

class FolderCliTest : public testing::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    folder = dir() / "web";
    fs::create_directory(folder);
  }
  void Write(const std::string& name, std::string_view bytes = "<Html></Html>\r\n") {
    testing::WriteFileBytes(folder / name, bytes);
  }
  std::string Read(const std::string& name) { return testing::ReadFileBytes(folder / name); }

  // Runs zormin-cli in the temporary folder with `args` and FOLDER last,
  // standard input not a terminal; under `wrapper` (strace and its options)
  // if one is given.
  CliResult Cli(std::vector<std::string> args, bool withFolder = true, std::vector<std::string> wrapper = {}) {
    if (withFolder) args.push_back(folder.string());
    std::vector<std::string> words = wrapper;
    words.push_back(ZORMIN_CLI);
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const fs::path out = dir() / "stdout", err = dir() / "stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addchdir_np(&actions, dir().c_str());
    pid_t pid = 0;
    CliResult result;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
      int status = 0;
      waitpid(pid, &status, 0);
      result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = testing::ReadFileBytes(out);
    result.err = testing::ReadFileBytes(err);
    return result;
  }

  fs::path folder;
};

TEST_F(FolderCliTest, ListPrintsTheNamesInListOrder) {
  Write("b.htm");
  Write("A.HTM");
  Write("c.txt");
  fs::create_directory(folder / "d.htm");
  CliResult r = Cli({"list"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "A.HTM\nb.htm\n");
  r = Cli({"list", "--type", "*.*"});
  EXPECT_EQ(r.out, "A.HTM\nb.htm\nc.txt\n");

  // One name a line: a line feed in a name, and so a backslash, is escaped.
  Write("x\ny.htm");
  Write("x\\ny.htm");
  r = Cli({"list"});
  EXPECT_EQ(r.out, "A.HTM\nb.htm\nx\\ny.htm\nx\\\\ny.htm\n");
}

// A folder that cannot be read is reported as such, by every command, and
// nothing is done.
TEST_F(FolderCliTest, FolderThatCannotBeRead) {
  testing::WriteFileBytes(dir() / "file", "");
  const struct {
    fs::path folder;
    const char* reason;
  } folders[] = {{dir() / "missing", "No such file or directory"}, {dir() / "file", "Not a directory"}};
  for (const auto& f : folders) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"list"}, {"run", "--lower", "--all"}, {"names", "--lower", "--all"}}) {
      SCOPED_TRACE(f.folder.string() + " " + args.front());
      std::vector<std::string> call = args;
      call.push_back(f.folder.string());
      const CliResult r = Cli(call, false);
      EXPECT_EQ(r.status, 1);
      EXPECT_EQ(r.out, "");
      EXPECT_EQ(r.err, "zormin-cli: " + f.folder.string() + ": " + f.reason + "\n");
    }
  }
}

TEST_F(FolderCliTest, RunConvertsAndTellsByItsExitStatus) {
  struct Row {
    std::vector<std::string> args;
    int status;
    const char* aHtm;  // a.htm afterwards
    const char* message;
  };
  const Row rows[] = {
      {{"run", "--lower", "--all"}, 0, "<html></html>\r\n", "the tags of all files are now lower case"},
      {{"run", "--lower", "--file", "a.htm"}, 0, "<html></html>\r\n", "the tags of the file are now lower case"},
      {{"run", "--lower", "--file", "b.htm"}, 1, "<Html></Html>\r\n", "b.htm: No such file or directory\n"},
      {{"run", "--lower", "--file", "c.txt"}, 1, "<Html></Html>\r\n", "c.txt: not a listed file (type \"*.htm\")\n"},
      {{"run", "--upper", "--all", "--type", "*.*"}, 1, "<Html></Html>\r\n", "(no terminal to ask)"},
      {{"run", "--upper", "--all", "--type", "*.*", "--yes"}, 0, "<HTML></HTML>\r\n", "are now upper case"},
      {{"run", "--lower", "--all", "--subfolder", "out"}, 0, "<Html></Html>\r\n", "the tags of all files"},
  };
  Write("c.txt");
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::PrintToString(row.args));
    Write("a.htm");
    const CliResult r = Cli(row.args);
    EXPECT_EQ(r.status, row.status);
    EXPECT_EQ(Read("a.htm"), row.aHtm);
    EXPECT_NE(r.err.find(row.message), std::string::npos) << r.err;
  }
  EXPECT_EQ(Read("out/a.htm"), "<html></html>\r\n");
}

TEST_F(FolderCliTest, NamesRenamesAndFailsOnATakenName) {
  Write("Index.htm");
  CliResult r = Cli({"names", "--upper", "--file", "Index.htm"});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(fs::exists(folder / "INDEX.HTM"));

  Write("index.htm", "other");
  Write("b.htm");
  r = Cli({"names", "--upper", "--all"});  // the question is answered No: go on
  EXPECT_EQ(r.status, 1);
  // The reason, with the file in the way, goes with the failure, before the
  // question.
  EXPECT_EQ(r.err, "index.htm: cannot rename\n[ index.htm ] (File exists: " + (folder / "INDEX.HTM").string() +
                       ")\nStop here? [y/N] n (no terminal to ask)\n");
  EXPECT_EQ(Read("index.htm"), "other");
  EXPECT_TRUE(fs::exists(folder / "B.HTM"));

  // --yes answers the question so that the renaming goes on.
  Write("c.htm");
  r = Cli({"names", "--upper", "--all", "--yes"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("[y/N] n (--yes: go on)"), std::string::npos) << r.err;
  EXPECT_TRUE(fs::exists(folder / "C.HTM"));
}

// A folder whose reading an I/O error cuts short: each command does what it
// can with what was read, then says so and fails. strace fails the second
// read of the folder; the first has read every entry.
TEST_F(FolderCliTest, ListingCutShortIsAFailure) {
  if (testing::RunProcess({"/usr/bin/strace", "-o", "/dev/null", "/bin/true"}).exitCode != 0) {
    GTEST_SKIP() << "strace is not installed or cannot trace here";
  }
  const std::vector<std::string> strace = {"/usr/bin/strace", "-f", "-o", "/dev/null", "-e", "trace=getdents64",
                                           "-e", "inject=getdents64:error=EIO:when=2"};
  const std::string report = "zormin-cli: " + folder.string() + ": the folder was not read completely: Input/output error\n";
  Write("a.htm");
  CliResult r = Cli({"list"}, true, strace);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "a.htm\n");
  EXPECT_EQ(r.err, report);

  r = Cli({"run", "--lower", "--all"}, true, strace);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(Read("a.htm"), "<html></html>\r\n");
  EXPECT_TRUE(r.err.ends_with(report)) << r.err;

  r = Cli({"names", "--upper", "--all"}, true, strace);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(fs::exists(folder / "A.HTM"));
  EXPECT_TRUE(r.err.ends_with(report)) << r.err;
}

// The name a message is about is shown on one line.
TEST_F(FolderCliTest, MessagesShowANameWithALineFeedEscaped) {
  Write("x\ny.htm");
  fs::permissions(folder / "x\ny.htm", fs::perms(0444));
  const CliResult r = Cli({"run", "--lower", "--all"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "x\\ny.htm: " + testing::CliText(text::kReadOnly) + "\n");
}

// Control characters in names never reach the terminal as they are: a line
// feed is \\n, any other control character \\xNN, in the list, in messages
// and in the names that the program's texts hold.
TEST_F(FolderCliTest, ControlCharactersInNamesAreEscaped) {
  struct Row {
    std::string name, shown;
  };
  const Row rows[] = {
      {"a\033]0;title\a.htm", "a\\x1B]0;title\\x07.htm"},
      {"b\rc.htm", "b\\x0Dc.htm"},
      {"d\te\x7F.htm", "d\\x09e\\x7F.htm"},
      {"f\xC2\x9B" "1m.htm", "f\\xC2\\x9B1m.htm"},  // C1 CSI in UTF-8
      {"g\xC2\xA0\xE3\x81\x82.htm", "g\xC2\xA0\xE3\x81\x82.htm"},  // printable: as it is
  };
  std::string listed;
  for (const Row& row : rows) {
    Write(row.name);
    listed += row.shown + "\n";
  }
  CliResult r = Cli({"list"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, listed);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.shown);
    // The renaming fails on a taken name; the message names the file twice,
    // in front and inside the program's text.
    Write(MapNameCase(row.name, CaseMode::Upper), "taken");
    r = Cli({"names", "--upper", "--file", row.name});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.starts_with(row.shown + ": cannot rename\n[ " + row.shown + " ] (File exists: ")) << r.err;
    EXPECT_EQ(r.err.find_first_of("\033\r\t\x7F\a"), std::string::npos) << r.err;
    fs::remove(folder / MapNameCase(row.name, CaseMode::Upper));
  }
}

// A usage error is one line that says what to add or change, and exit 2.
TEST_F(FolderCliTest, UsageErrors) {
  struct Row {
    std::vector<std::string> args;  // FOLDER follows
    const char* says;
  };
  const Row rows[] = {
      {{"run", "--all"}, "run needs --upper or --lower"},
      {{"run", "--upper", "--lower", "--all"}, "--upper and --lower exclude each other"},
      {{"run", "--upper", "--all", "--file", "a.htm"}, "--all and --file exclude each other"},
      {{"run", "--upper", "--all", "--encoding", "latin-9"}, "unknown encoding 'latin-9'"},
      {{"run", "--lower"}, "run needs --all or --file NAME"},
      {{"names", "--upper"}, "names needs --all or --file NAME"},
      {{"names", "--upper", "--all", "--subfolder", "x"}, "unknown option '--subfolder' for names"},
      {{"names", "--upper", "--all", "--force"}, "unknown option '--force' for names"},
      {{"list", "--upper"}, "unknown option '--upper' for list"},
      {{"list", "extra"}, "list takes one FOLDER"},
      // What the shell makes of an unquoted --type *.htm where x.htm (and
      // y.htm) lie in the working folder.
      {{"list", "--type", "x.htm"}, "--type 'x.htm' is a file: the shell put names in place of the pattern; quote it"},
      {{"run", "--lower", "--all", "--type", "x.htm", "y.htm"}, "--type 'x.htm' is a file"},
  };
  testing::WriteFileBytes(dir() / "x.htm", "");
  testing::WriteFileBytes(dir() / "y.htm", "");
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::PrintToString(row.args));
    const CliResult r = Cli(row.args);
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.starts_with("zormin-cli: "s + row.says)) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << r.err;  // and where to read more
  }
  EXPECT_EQ(Cli({"list"}, false).status, 2);
  // An empty FOLDER (an unset "$dir") or --subfolder names nothing: no
  // silent empty list, no failure for every file.
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"list", ""}, {"run", "--lower", "--all", "--", ""}, {"names", "--upper", "--all", ""},
        {"run", "--lower", "--all", "--subfolder", "", "web"}, {"run", "--lower", "--all", "--subfolder=", "web"}}) {
    SCOPED_TRACE(::testing::PrintToString(args));
    const CliResult r = Cli(args, false);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << r.err;
    EXPECT_TRUE(r.err.ends_with(" needs a FOLDER\nTry 'zormin-cli --help'.\n") ||
                r.err.starts_with("zormin-cli: --subfolder needs a value\n"))
        << r.err;
  }
  // A pattern with a wildcard is a pattern, whatever lies in the folder.
  testing::WriteFileBytes(dir() / "*.htm", "");
  EXPECT_EQ(Cli({"list", "--type", "*.htm"}).status, 0);
}

TEST_F(FolderCliTest, CommonSpellingsOfEachEncoding) {
  for (const char* name : {"utf8", "UTF-8", "sjis", "cp932", "Shift_JIS", "eucjp", "euc-jp", "jis", "iso-2022-jp"}) {
    SCOPED_TRACE(name);
    Write("a.htm");
    EXPECT_EQ(Cli({"run", "--lower", "--all", "--encoding", name}).status, 0);
    EXPECT_EQ(Read("a.htm"), "<html></html>\r\n");
  }
}

// Files that are not text are left alone unless --force says otherwise; the
// run goes on with the others and ends with exit 1 and no closing message.
TEST_F(FolderCliTest, RunSkipsBinaryFilesUnlessForced) {
  const std::string png = "\x89PNG\r\n\x1A\n\0\0\0\rIHDR"s;
  Write("a.htm");
  Write("p.png", png);
  CliResult r = Cli({"run", "--lower", "--all", "--type", "*.*", "--yes"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Every file of the folder is converted.\nAre they all HTML files? [y/N] y (--yes)\n"
                   "p.png: not text: skipped\n");
  EXPECT_EQ(Read("a.htm"), "<html></html>\r\n");
  EXPECT_EQ(Read("p.png"), png);

  r = Cli({"run", "--lower", "--file", "p.png", "--type", "*.png"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "p.png: not text: skipped\n");

  r = Cli({"run", "--lower", "--all", "--type", "*.*", "--yes", "--force"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(Read("p.png"), png);
}

TEST_F(FolderCliTest, HelpOfOneCommand) {
  const CliResult r = Cli({"run", "--help"}, false);
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.out.starts_with("Usage:\n  zormin-cli run --upper|--lower --all|--file NAME")) << r.out;
  EXPECT_EQ(r.out.find("zormin-cli tags"), std::string::npos);
  EXPECT_EQ(r.err, "");
}

// With --null every name comes out as it is, ended by a NUL: a name with a
// line feed or a backslash survives, as with find -print0.
TEST_F(FolderCliTest, ListNullEndsEachNameWithANul) {
  for (const char* name : {"a.htm", "b\nc.htm", "d\\e.htm"}) Write(name);
  for (const char* option : {"--null", "-0"}) {
    SCOPED_TRACE(option);
    const CliResult r = Cli({"list", option});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "a.htm\0b\nc.htm\0d\\e.htm\0"s);
  }
  EXPECT_EQ(Cli({"list"}).out, "a.htm\nb\\nc.htm\nd\\\\e.htm\n");
  EXPECT_EQ(Cli({"run", "--lower", "--all", "--null"}).status, 2);
}

// --line-ends keep writes each line end as it was read; crlf, the default,
// makes every one CR LF. A file that the conversion does not change keeps
// its inode.
TEST_F(FolderCliTest, RunKeepsLineEndsWhenAsked) {
  struct Row {
    const char* name;
    std::string text, keep, crlf;
  };
  const std::vector<Row> rows = {
      {"lf.htm", "<P>\n<B>\n", "<p>\n<b>\n", "<p>\r\n<b>\r\n"},
      {"crlf.htm", "<P>\r\n", "<p>\r\n", "<p>\r\n"},
      {"mixed.htm", "<P>\r\n<B>\n<I>\r<U>", "<p>\r\n<b>\n<i>\r<u>", "<p>\r\n<b>\r\n<i>\r<u>"},
      {"unix.htm", "<p>\n", "<p>\n", "<p>\r\n"},
  };
  for (const Row& row : rows) Write(row.name, row.text);
  struct stat before {}, after {};
  ASSERT_EQ(stat((folder / "unix.htm").c_str(), &before), 0);
  CliResult r = Cli({"run", "--lower", "--all", "--line-ends", "keep"});
  EXPECT_EQ(r.status, 0) << r.err;
  ASSERT_EQ(stat((folder / "unix.htm").c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  for (const Row& row : rows) EXPECT_EQ(Read(row.name), row.keep) << row.name;

  for (const Row& row : rows) Write(row.name, row.text);
  r = Cli({"run", "--lower", "--all", "--line-ends=crlf"});
  EXPECT_EQ(r.status, 0) << r.err;
  for (const Row& row : rows) EXPECT_EQ(Read(row.name), row.crlf) << row.name;

  r = Cli({"run", "--lower", "--all", "--line-ends", "lf"});
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(r.err.starts_with("zormin-cli: unknown line ends 'lf' (crlf, keep)\n")) << r.err;
}

// --quiet drops the closing message, never a failure.
TEST_F(FolderCliTest, QuietSilencesTheClosingMessageOnly) {
  Write("a.htm");
  CliResult r = Cli({"run", "--lower", "--all"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "the tags of all files are now lower case\n");
  for (const char* option : {"--quiet", "-q"}) {
    Write("a.htm");
    r = Cli({"run", "--lower", "--all", option});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "") << option;
    EXPECT_EQ(Read("a.htm"), "<html></html>\r\n");
  }
  Write("p.htm", "\x89PNG\r\n\x1A\n\0\0"s);
  r = Cli({"run", "--lower", "--all", "--quiet"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "p.htm: not text: skipped\n");
}

// On a terminal a run over several files shows "done/total name" on one line
// that it rewrites, and clears it before the closing message and at the end.
// Never with --quiet, and never when standard error is not a terminal.
TEST_F(FolderCliTest, ProgressLineOnATerminalOnly) {
  if (access("/usr/bin/script", X_OK) != 0) GTEST_SKIP() << "script(1) is not installed";
  struct Row {
    const char* what;
    std::string command;
  };
  const std::string cli = ZORMIN_CLI;
  const std::vector<Row> rows = {
      {"run", cli + " run --lower --all web"},
      {"names", cli + " names --upper --all web"},
      {"tags", cli + " tags --lower web/a.htm web/b.htm"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    // A pseudo-terminal as the program's terminal: script(1).
    const auto onTerminal = [&](const std::string& command) {
      fs::remove_all(folder);
      fs::create_directory(folder);
      Write("a.htm");
      Write("b.htm");
      return testing::RunProcess({"/usr/bin/script", "-qec", command, "/dev/null"}, {}, dir());
    };
    const auto shown = onTerminal(row.command);
    EXPECT_EQ(shown.exitCode, 0) << shown.out;
    const std::string first = "\r0/2 " + std::string(row.what == "tags"s ? "web/a.htm" : "a.htm") + "\033[K";
    const std::string second = "\r1/2 " + std::string(row.what == "tags"s ? "web/b.htm" : "b.htm") + "\033[K";
    const size_t at = shown.out.find(first), next = shown.out.find(second), cleared = shown.out.rfind("\r\033[K");
    EXPECT_EQ(at, 0u) << ::testing::PrintToString(shown.out);
    EXPECT_NE(next, std::string::npos);
    EXPECT_TRUE(next != std::string::npos && cleared == next + second.size()) << ::testing::PrintToString(shown.out);

    for (const std::string& command : {row.command + " --quiet", row.command + " 2>&1 | cat"}) {
      const auto silent = onTerminal(command);
      EXPECT_EQ(silent.exitCode, 0) << silent.out;
      EXPECT_EQ(silent.out.find("\033[K"), std::string::npos) << command << ": " << ::testing::PrintToString(silent.out);
      EXPECT_EQ(silent.out.find("/2 "), std::string::npos) << command;
    }
  }
}

}  // namespace
}  // namespace zormin
