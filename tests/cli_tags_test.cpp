// zormin-cli tags: the filter, files named on the command line, and usage errors.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <string>
#include <vector>

#include "cli/progress_line.h"
#include "convert/convert_file.h"
#include "cli_text.h"
#include "test_util.h"

namespace zormin {
namespace {

using namespace std::string_literals;
using testing::ReadFileBytes;
using testing::RunProcess;
using testing::WriteFileBytes;

class CliTagsTest : public testing::TempDirTest {};

// The filter gives exactly what converting the file gives.
TEST_F(CliTagsTest, FilterOutputEqualsFileOutput) {
  std::vector<std::string> inputs;
  for (const char* encoding : {"SHIFT_JIS", "EUC-JP", "ISO-2022-JP", "UTF-8"}) {
    inputs.push_back(testing::Encode("<P CLASS=X>ソフトウェア 主上</P>\r\n<SCRIPT>\nA<B\n</SCRIPT>\n<B>", encoding));
  }
  std::mt19937 rng(7);
  std::string noise(3000, ' ');
  for (char& c : noise) c = "<>=\"! \r\nAbZ\x83\x1b$B("[rng() % 16];
  inputs.push_back(noise);
  for (size_t i = 0; i < inputs.size(); ++i) {
    SCOPED_TRACE(i);
    const auto filtered = RunProcess({ZORMIN_CLI, "tags", "--upper"}, inputs[i]);
    EXPECT_EQ(filtered.exitCode, 0) << filtered.err;
    const auto file = dir() / "f.htm";
    WriteFileBytes(file, inputs[i]);
    const auto converted = RunProcess({ZORMIN_CLI, "tags", "--upper", file.string()});
    EXPECT_EQ(converted.exitCode, 0) << converted.err;
    EXPECT_EQ(filtered.out, ReadFileBytes(file));
  }
  // "-" names standard input too.
  EXPECT_EQ(RunProcess({ZORMIN_CLI, "tags", "--lower", "--encoding", "shift_jis", "-"}, "<A>\x83\x41").out,
            "<a>\x83\x41");
}

TEST_F(CliTagsTest, GoesOnAfterAFailedFileAndReportsIt) {
  WriteFileBytes(dir() / "a.htm", "<A>\n");
  WriteFileBytes(dir() / "b.htm", "<B>\n");
  // An empty word names no file (not the folder it would be taken for).
  const auto result = RunProcess({ZORMIN_CLI, "tags", "--lower", "a.htm", "missing.htm", "", "b.htm"}, {}, dir());
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "missing.htm: " + testing::CliText(text::kInputNotOpened) +
                            " (No such file or directory)\n'': " + testing::CliText(text::kInputNotOpened) +
                            " (No such file or directory)\n");
  EXPECT_EQ(ReadFileBytes(dir() / "a.htm"), "<a>\r\n");
  EXPECT_EQ(ReadFileBytes(dir() / "b.htm"), "<b>\r\n");

  const auto copies = RunProcess({ZORMIN_CLI, "tags", "--upper", "--subfolder=out", "a.htm"}, {}, dir());
  EXPECT_EQ(copies.exitCode, 0) << copies.err;
  EXPECT_EQ(ReadFileBytes(dir() / "out" / "a.htm"), "<A>\r\n");
}

// Files named on the command line that are not text are skipped, each with
// a message, unless --force; legacy text with Ctrl-Z or ISO-2022-JP escapes
// is text. The filter converts what it is given.
TEST_F(CliTagsTest, SkipsBinaryFilesUnlessForced) {
  const std::string png = "\x89PNG\r\n\x1A\n\0\0\0\rIHDR<A>"s;
  const std::string nul = "<P>a\0b</P>\n"s;
  WriteFileBytes(dir() / "a.png", png);
  WriteFileBytes(dir() / "nul.htm", nul);
  WriteFileBytes(dir() / "old.htm", "<P>\x1B$B$3\x1B(B</P>\n\x1A");
  auto result = RunProcess({ZORMIN_CLI, "tags", "--lower", "a.png", "nul.htm", "old.htm"}, {}, dir());
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "a.png: not text: skipped\nnul.htm: not text: skipped\n");
  EXPECT_EQ(ReadFileBytes(dir() / "a.png"), png);
  EXPECT_EQ(ReadFileBytes(dir() / "nul.htm"), nul);
  EXPECT_EQ(ReadFileBytes(dir() / "old.htm"), "<p>\x1B$B$3\x1B(B</p>\r\n\x1A");

  EXPECT_EQ(RunProcess({ZORMIN_CLI, "tags", "--lower", "-"}, nul).out, "<p>a\0b</p>\r\n"s);
  result = RunProcess({ZORMIN_CLI, "tags", "--lower", "--force", "a.png", "nul.htm"}, {}, dir());
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(ReadFileBytes(dir() / "nul.htm"), "<p>a\0b</p>\r\n"s);
  EXPECT_NE(ReadFileBytes(dir() / "a.png"), png);
}

// With no FILE and a terminal for standard input, tags says what it would
// read instead of waiting in silence; "-" reads the terminal all the same.
// --line-ends keep, as a filter and in place: every line end as it was read.
TEST_F(CliTagsTest, KeepsLineEndsWhenAsked) {
  const std::string input = "<A>\n<B>\r\n<I>\r<U>", kept = "<a>\n<b>\r\n<i>\r<u>";
  const auto filtered = RunProcess({ZORMIN_CLI, "tags", "--lower", "--line-ends", "keep"}, input);
  EXPECT_EQ(filtered.exitCode, 0) << filtered.err;
  EXPECT_EQ(filtered.out, kept);
  const auto file = dir() / "a.htm";
  WriteFileBytes(file, input);
  const auto inPlace = RunProcess({ZORMIN_CLI, "tags", "--lower", "--line-ends=keep", file.string()});
  EXPECT_EQ(inPlace.exitCode, 0) << inPlace.err;
  EXPECT_EQ(ReadFileBytes(file), kept);
}

// The progress line never wraps, and never cuts a character in two.
TEST(ProgressText, FitsTheTerminal) {
  struct Row {
    std::string name;
    size_t columns;
    const char* expected;
  };
  const Row rows[] = {
      {"index.htm", 80, "3/10 index.htm"},
      {"index.htm", 10, "3/10 inde"},
      {"あいう.htm", 12, "3/10 あい"},  // 6 bytes of room: two characters
      {"あいう.htm", 11, "3/10 あ"},    // 5 bytes: the second would be cut
      {"index.htm", 4, "3/10 "},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.columns);
    EXPECT_EQ(cli::ProgressText(3, 10, row.name, row.columns), row.expected);
  }
}

TEST(CliTags, RefusesToWaitForATerminal) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  const std::string terminal = ptsname(master);
  const int err = memfd_create("stderr", 0);
  const pid_t pid = fork();
  if (pid == 0) {
    const int in = open(terminal.c_str(), O_RDONLY);
    dup2(in, 0);
    dup2(err, 2);
    alarm(10);  // a program that waits after all is stopped
    execl(ZORMIN_CLI, ZORMIN_CLI, "tags", "--lower", static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  close(master);
  ASSERT_TRUE(WIFEXITED(status)) << "waited for input";
  EXPECT_EQ(WEXITSTATUS(status), 2);
  EXPECT_TRUE(testing::ReadFd(err).starts_with("zormin-cli: tags converts standard input, which is a terminal here"));
  close(err);
}

// Output that cannot be written, and input that cannot be read, are
// failures that say why: not exit 0, and not a message without its reason.
TEST_F(CliTagsTest, ReadAndWriteFailuresSayWhy) {
  WriteFileBytes(dir() / "a.htm", "<A>\n");
  const std::string cli = ZORMIN_CLI;
  struct Row {
    std::string command;  // run by sh in the temporary folder
    std::string err;
  };
  const Row rows[] = {
      {cli + " --help >/dev/full", "zormin-cli: cannot write to standard output: No space left on device\n"},
      {cli + " --version >/dev/full", "zormin-cli: cannot write to standard output: No space left on device\n"},
      {cli + " run --help >&-", "zormin-cli: cannot write to standard output: Bad file descriptor\n"},
      {cli + " tags --lower <a.htm >/dev/full", "-: cannot write the output file (No space left on device)\n"},
      {cli + " tags --lower <. >/dev/null", "-: cannot read the file (Is a directory)\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.command);
    const auto result = RunProcess({"/bin/sh", "-c", row.command}, {}, dir());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, row.err);
  }
}

// A signal while a named temporary file is written (a file system without
// unnamed files, as FAT: strace makes O_TMPFILE fail so) removes it before
// the program ends; the file stays as it was. Ctrl-\ (SIGQUIT) too.
TEST_F(CliTagsTest, SignalRemovesANamedTemporaryFile) {
  if (RunProcess({"/usr/bin/strace", "-o", "/dev/null", "/bin/true"}).exitCode != 0) {
    GTEST_SKIP() << "strace is not installed or cannot trace here";
  }
  const auto file = dir() / "a.htm";
  for (const char* signal : {"SIGTERM", "SIGINT", "SIGHUP", "SIGQUIT"}) {
    SCOPED_TRACE(signal);
    WriteFileBytes(file, "<A>\n");
    const auto result = RunProcess({"/usr/bin/strace", "-f", "-o", "/dev/null", "-P", dir().string(), "-P",
                                    (dir() / "zormin.tmp").string(), "-e", "trace=openat,write", "-e",
                                    "inject=openat:error=EOPNOTSUPP:when=1", "-e",
                                    "inject=write:signal=" + std::string(signal) + ":when=1", ZORMIN_CLI, "tags",
                                    "--lower", file.string()});
    EXPECT_EQ(result.exitCode, -1) << result.err;  // ended by the signal
    EXPECT_EQ(ReadFileBytes(file), "<A>\n");
    EXPECT_FALSE(std::filesystem::exists(dir() / "zormin.tmp"));
  }
}

TEST(CliTags, UsageErrors) {
  struct Row {
    std::vector<std::string> args;
    const char* says;
  };
  const Row rows[] = {
      {{}, "no command given"},
      {{"frobnicate"}, "unknown command 'frobnicate'"},
      {{"tags"}, "tags needs --upper or --lower"},
      {{"tags", "--upper", "--lower"}, "--upper and --lower exclude each other"},
      {{"tags", "--lower", "--encoding", "latin1"}, "unknown encoding 'latin1' (auto, shift_jis, euc-jp, iso-2022-jp, utf-8)"},
      {{"tags", "--lower", "--encoding"}, "--encoding needs a value"},
      {{"tags", "--lower", "--subfolder", "x"}, "--subfolder needs FILE arguments"},
      {{"tags", "--lower", "--subfolder=", "a.htm"}, "--subfolder needs a value"},
      {{"tags", "--lower", "--bogus", "a.htm"}, "unknown option '--bogus' for tags"},
      {{"tags", "--lower", "--line-ends", "cr"}, "unknown line ends 'cr' (crlf, keep)"},
  };
  for (const Row& row : rows) {
    std::vector<std::string> argv{ZORMIN_CLI};
    argv.insert(argv.end(), row.args.begin(), row.args.end());
    const auto result = RunProcess(argv);
    SCOPED_TRACE(::testing::PrintToString(row.args));
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err, "zormin-cli: "s + row.says + "\nTry 'zormin-cli --help'.\n");
    EXPECT_EQ(result.out, "");
  }
  for (const char* name : {"utf8", "sjis", "cp932", "eucjp", "jis"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(RunProcess({ZORMIN_CLI, "tags", "--lower", "--encoding", name}, "<A>").out, "<a>");
  }
  const auto help = RunProcess({ZORMIN_CLI, "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("zormin-cli tags --upper|--lower"), std::string::npos);
  EXPECT_EQ(RunProcess({ZORMIN_CLI, "--version"}).out, "zormin-cli " ZORMIN_VERSION "\n");
}

}  // namespace
}  // namespace zormin
