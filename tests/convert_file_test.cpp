// Converting one file on disk: both output modes, every failure, and faults
// that real disks and users produce.

#include "convert/convert_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include <string>
#include <vector>

#include "core/file_io.h"
#include "cli_text.h"
#include "test_util.h"

namespace zormin {
namespace {

using testing::IsRoot;
using testing::ReadFileBytes;
using testing::RecordingSink;
using testing::RunProcess;
using testing::ShownMessage;
using testing::WriteFileBytes;
namespace fs = std::filesystem;
using namespace std::string_literals;

constexpr CaseMode L = CaseMode::Lower;
const std::string kHtml = "<HTML>\n<BODY BGCOLOR=#FFFFFF>Text</BODY>\n</HTML>\n";
const std::string kLower = "<html>\r\n<body bgcolor=#FFFFFF>Text</body>\r\n</html>\r\n";

// Whether a tool works here (a sandbox may forbid tracing or changing user).
bool Works(const std::vector<std::string>& argv) {
  if (access(argv.front().c_str(), X_OK) != 0) return false;
  return RunProcess(argv).exitCode == 0;
}
const std::vector<std::string> kStraceProbe = {"/usr/bin/strace", "-o", "/dev/null", "/bin/true"};

ShownMessage Message(std::string_view text) { return {std::string(text), MessageButtons::Ok, MessageIcon::Exclamation}; }

class ConvertFileTest : public testing::TempDirTest {
 protected:
  ConvertResult Convert(const std::string& name, bool overwrite = true, const std::string& subFolder = "NewFolder") {
    ConvertOptions options;
    options.overwrite = overwrite;
    options.subFolder = subFolder;
    return ConvertFile(dir(), name, L, options, sink);
  }
  // The names in the folder, to see that no temporary file was left.
  std::vector<std::string> Names(const fs::path& folder) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  RecordingSink sink;
};

// Where binary files are skipped, one is left alone with its own message; a
// text file is converted whole, from its first byte, after being looked at.
TEST_F(ConvertFileTest, SkipsABinaryFileWhereAsked) {
  const std::string png = "\x89PNG\r\n\x1A\n\0\0\0\rIHDR<A>\n"s;
  const std::string longText = std::string(40000, 'A') + "\n" + kHtml + "\x01";  // SOH past the first block
  WriteFileBytes(dir() / "a.png", png);
  WriteFileBytes(dir() / "long.htm", longText);
  ConvertOptions options;
  options.skipBinary = true;
  EXPECT_EQ(ConvertFile(dir(), "a.png", L, options, sink), ConvertResult::NotText);
  EXPECT_EQ(ReadFileBytes(dir() / "a.png"), png);
  EXPECT_EQ(sink.messages, std::vector{Message(text::kNotText)});
  EXPECT_EQ(ConvertFile(dir(), "long.htm", L, options, sink), ConvertResult::Converted);
  EXPECT_EQ(ReadFileBytes(dir() / "long.htm"), std::string(40000, 'A') + "\r\n" + kLower + "\x01");

  options.skipBinary = false;
  EXPECT_EQ(ConvertFile(dir(), "a.png", L, options, sink), ConvertResult::Converted);
  EXPECT_NE(ReadFileBytes(dir() / "a.png"), png);  // the window converts what it lists
}

TEST_F(ConvertFileTest, OverwriteReplacesTheFileAndKeepsItsMode) {
  WriteFileBytes(dir() / "a.htm", kHtml);
  fs::permissions(dir() / "a.htm", fs::perms(0640));
  EXPECT_EQ(Convert("a.htm"), ConvertResult::Converted);
  EXPECT_EQ(ReadFileBytes(dir() / "a.htm"), kLower);
  EXPECT_EQ(fs::status(dir() / "a.htm").permissions(), fs::perms(0640));
  EXPECT_EQ(Names(dir()), std::vector<std::string>{"a.htm"});
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ConvertFileTest, EmptyFileStaysEmpty) {
  WriteFileBytes(dir() / "e.htm", "");
  EXPECT_EQ(Convert("e.htm"), ConvertResult::Converted);
  EXPECT_EQ(ReadFileBytes(dir() / "e.htm"), "");
}

// A file whose converted bytes equal its own is left alone: same inode, same
// time stamps, its hard links still one file. One that changes is a new
// file, and its other links keep the old text.
TEST_F(ConvertFileTest, UnchangedFileIsNotRewritten) {
  struct Row {
    const char* what;
    std::string text;
    LineEnds lineEnds;
    std::string converted;  // empty: unchanged
  };
  const std::vector<Row> rows = {
      {"converted before", kLower, LineEnds::CrLf, ""},
      {"LF kept", "<p>\n<b>x</b>\n", LineEnds::Keep, ""},
      {"LF made CR LF", "<p>\n", LineEnds::CrLf, "<p>\r\n"},
      {"a tag in upper case", "<P>\r\n", LineEnds::Keep, "<p>\r\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const fs::path file = dir() / "a.htm", link = dir() / "b.htm";
    fs::remove(file);
    fs::remove(link);
    WriteFileBytes(file, row.text);
    const struct timespec old[2] = {{1000000000, 5}, {1000000000, 5}};  // 2001, so a rewrite shows
    ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), old, 0), 0);
    fs::create_hard_link(file, link);
    struct stat before {}, after {};
    ASSERT_EQ(stat(file.c_str(), &before), 0);

    ConvertOptions options;
    options.lineEnds = row.lineEnds;
    EXPECT_EQ(ConvertFile(dir(), "a.htm", L, options, sink), ConvertResult::Converted);
    ASSERT_EQ(stat(file.c_str(), &after), 0);
    if (row.converted.empty()) {
      EXPECT_EQ(after.st_ino, before.st_ino);
      EXPECT_EQ(after.st_nlink, 2u);
      EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
      EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
      EXPECT_EQ(after.st_ctim.tv_sec, before.st_ctim.tv_sec);
      EXPECT_EQ(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec);
      EXPECT_EQ(ReadFileBytes(file), row.text);
    } else {
      EXPECT_NE(after.st_ino, before.st_ino);
      EXPECT_EQ(after.st_nlink, 1u);
      EXPECT_EQ(ReadFileBytes(file), row.converted);
      EXPECT_EQ(ReadFileBytes(link), row.text);
    }
    EXPECT_EQ(Names(dir()), (std::vector<std::string>{"a.htm", "b.htm"}));
  }
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ConvertFileTest, SubfolderGetsACopyAndTheInputStays) {
  WriteFileBytes(dir() / "a.htm", kHtml);
  EXPECT_EQ(Convert("a.htm", false), ConvertResult::Converted);
  EXPECT_EQ(ReadFileBytes(dir() / "a.htm"), kHtml);
  EXPECT_EQ(ReadFileBytes(dir() / "NewFolder" / "a.htm"), kLower);

  // A second run replaces the copy; another name makes another folder.
  WriteFileBytes(dir() / "a.htm", "<P>\n");
  EXPECT_EQ(Convert("a.htm", false), ConvertResult::Converted);
  EXPECT_EQ(ReadFileBytes(dir() / "NewFolder" / "a.htm"), "<p>\r\n");
  EXPECT_EQ(Convert("a.htm", false, "out"), ConvertResult::Converted);
  EXPECT_EQ(ReadFileBytes(dir() / "out" / "a.htm"), "<p>\r\n");
  EXPECT_EQ(Names(dir() / "NewFolder"), std::vector<std::string>{"a.htm"});
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ConvertFileTest, InputThatCannotBeOpened) {
  fs::create_directory(dir() / "dir.htm");
  ASSERT_EQ(mkfifo((dir() / "fifo.htm").c_str(), 0644), 0);  // must not block
  for (const char* name : {"missing.htm", "dir.htm", "fifo.htm"}) {
    SCOPED_TRACE(name);
    sink.messages.clear();
    EXPECT_EQ(Convert(name), ConvertResult::InputNotOpened);
    EXPECT_EQ(sink.messages, std::vector<ShownMessage>{Message(text::kInputNotOpened)});
  }
}

// Output names that would write the input over itself, or that the system refuses.
TEST_F(ConvertFileTest, OutputThatCannotBeOpenedLeavesEverythingAsItWas) {
  struct Case {
    const char* what;
    std::string name;
    bool overwrite;
    std::string subFolder;
  };
  const std::vector<Case> cases = {
      {"empty subfolder name", "a.htm", false, ""},
      {"subfolder . is the folder itself", "a.htm", false, "."},
      {"subfolder .. back into the folder", "a.htm", false, "../" + dir().filename().string()},
      {"a file where the subfolder should be", "a.htm", false, "block"},
      {"a name longer than the system allows", "a.htm", false, std::string(300, 'n')},
      {"a file named like the temporary file", "zormin.tmp", true, ""},
      {"a copy of the file named like the temporary file", "zormin.tmp", false, "NewFolder"},
  };
  WriteFileBytes(dir() / "block", "not a folder");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFileBytes(dir() / c.name, kHtml);
    sink.messages.clear();
    EXPECT_EQ(Convert(c.name, c.overwrite, c.subFolder), ConvertResult::OutputNotOpened);
    EXPECT_EQ(ReadFileBytes(dir() / c.name), kHtml);
    EXPECT_EQ(ReadFileBytes(dir() / "block"), "not a folder");
    EXPECT_EQ(sink.messages, std::vector<ShownMessage>{Message(text::kOutputNotOpened)});
  }
}

// A copy that is the input under another name (a hard link) is the input.
TEST_F(ConvertFileTest, CopyThatIsAHardLinkToTheInputIsRefused) {
  WriteFileBytes(dir() / "a.htm", kHtml);
  fs::create_directory(dir() / "NewFolder");
  fs::create_hard_link(dir() / "a.htm", dir() / "NewFolder" / "a.htm");
  EXPECT_EQ(Convert("a.htm", false), ConvertResult::OutputNotOpened);
  EXPECT_EQ(ReadFileBytes(dir() / "a.htm"), kHtml);
}

// A file under the temporary name, beside the file or in the subfolder: a
// leftover of ours (it bears our mark) goes and the conversion is done; a file
// of anyone else is never touched, and the message says it is in the way.
TEST_F(ConvertFileTest, TemporaryNameTakenByALeftoverOrByAnotherFile) {
  WriteFileBytes(dir() / "probe", "");
  if (setxattr((dir() / "probe").c_str(), kTempFileMark, "", 0, 0) != 0) {
    GTEST_SKIP() << "no user extended attributes in " << dir() << ": " << strerror(errno);
  }
  fs::create_directory(dir() / "NewFolder");
  for (const bool overwrite : {true, false}) {
    const fs::path temp = (overwrite ? dir() : dir() / "NewFolder") / "zormin.tmp";
    for (const bool ours : {true, false}) {
      SCOPED_TRACE(std::string(overwrite ? "in place, " : "copy, ") + (ours ? "ours" : "someone's"));
      WriteFileBytes(dir() / "a.htm", kHtml);
      WriteFileBytes(temp, "half a file");
      if (ours) {
        ASSERT_EQ(setxattr(temp.c_str(), kTempFileMark, "a.htm", 5, 0), 0);
      }
      sink = {};
      const fs::path output = overwrite ? dir() / "a.htm" : dir() / "NewFolder" / "a.htm";
      fs::remove(dir() / "NewFolder" / "a.htm");
      if (ours) {
        EXPECT_EQ(Convert("a.htm", overwrite), ConvertResult::Converted);
        EXPECT_EQ(ReadFileBytes(output), kLower);
        EXPECT_FALSE(fs::exists(temp));
      } else {
        EXPECT_EQ(Convert("a.htm", overwrite), ConvertResult::OutputNotOpened);
        EXPECT_EQ(ReadFileBytes(dir() / "a.htm"), kHtml);
        EXPECT_EQ(ReadFileBytes(temp), "half a file");
        EXPECT_EQ(sink.causes, (std::vector<RecordingSink::Cause>{{std::make_error_code(std::errc::file_exists), temp}}));
        fs::remove(temp);
      }
    }
  }
}

// The mode of a replaced file is its own, exactly; a copy gets the mode of
// the original less the umask, without the set-id bits, as cp gives it.
TEST_F(ConvertFileTest, ModeIsKeptAndNeverWidened) {
  struct Row {
    mode_t mode;
    mode_t copy;  // under umask 022
  };
  const Row rows[] = {{0600, 0600}, {0640, 0640}, {0755, 0755}, {02750, 0750}, {0666, 0644}};
  const mode_t oldMask = umask(022);
  fs::create_directory(dir() / "NewFolder");
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << std::oct << row.mode);
    WriteFileBytes(dir() / "a.htm", kHtml);
    ASSERT_EQ(chmod((dir() / "a.htm").c_str(), row.mode), 0);
    // An earlier copy's mode does not count: the copy is the original's.
    WriteFileBytes(dir() / "NewFolder" / "a.htm", "old copy");
    ASSERT_EQ(chmod((dir() / "NewFolder" / "a.htm").c_str(), 0666), 0);
    EXPECT_EQ(Convert("a.htm", false), ConvertResult::Converted);
    EXPECT_EQ(Convert("a.htm"), ConvertResult::Converted);
    struct stat inPlace {}, copy {};
    ASSERT_EQ(stat((dir() / "a.htm").c_str(), &inPlace), 0);
    ASSERT_EQ(stat((dir() / "NewFolder" / "a.htm").c_str(), &copy), 0);
    EXPECT_EQ(inPlace.st_mode & 07777, row.mode);
    EXPECT_EQ(copy.st_mode & 07777, row.copy);
    EXPECT_EQ(ReadFileBytes(dir() / "NewFolder" / "a.htm"), kLower);
  }
  umask(oldMask);
}

TEST_F(ConvertFileTest, ReadOnlyFileIsNotReplaced) {
  WriteFileBytes(dir() / "r.htm", kHtml);
  fs::permissions(dir() / "r.htm", fs::perms(0444));
  EXPECT_EQ(Convert("r.htm"), ConvertResult::ReadOnly);
  EXPECT_EQ(ReadFileBytes(dir() / "r.htm"), kHtml);
  EXPECT_EQ(sink.messages, std::vector<ShownMessage>{Message(text::kReadOnly)});
  EXPECT_EQ(Names(dir()), std::vector<std::string>{"r.htm"});

  // Its copy can be made; a read-only copy is not replaced.
  EXPECT_EQ(Convert("r.htm", false), ConvertResult::Converted);
  fs::permissions(dir() / "NewFolder" / "r.htm", fs::perms(0444));
  EXPECT_EQ(Convert("r.htm", false), ConvertResult::OutputNotOpened);
}

TEST_F(ConvertFileTest, SymbolicLinkStaysALinkAndItsTargetIsConverted) {
  fs::create_directory(dir() / "real");
  WriteFileBytes(dir() / "real" / "t.htm", kHtml);
  fs::create_symlink("real/t.htm", dir() / "link.htm");
  EXPECT_EQ(Convert("link.htm"), ConvertResult::Converted);
  EXPECT_TRUE(fs::is_symlink(dir() / "link.htm"));
  EXPECT_EQ(ReadFileBytes(dir() / "real" / "t.htm"), kLower);
  EXPECT_EQ(Names(dir() / "real"), std::vector<std::string>{"t.htm"});
  EXPECT_EQ(Names(dir()), (std::vector<std::string>{"link.htm", "real"}));
}

TEST_F(ConvertFileTest, OwnerOfAReplacedFileIsKept) {
  if (!IsRoot()) GTEST_SKIP() << "giving a file to another owner needs root";
  WriteFileBytes(dir() / "o.htm", kHtml);
  ASSERT_EQ(chown((dir() / "o.htm").c_str(), 65534, 65534), 0);
  EXPECT_EQ(Convert("o.htm"), ConvertResult::Converted);
  struct stat st {};
  ASSERT_EQ(stat((dir() / "o.htm").c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 65534u);
  EXPECT_EQ(st.st_gid, 65534u);
}

// A file system mounted for one test, unmounted after it.
class Mount {
 public:
  Mount(const fs::path& target, const char* source, const char* type, unsigned long flags, const char* data)
      : m_target(target) {
    m_ok = mount(source, target.c_str(), type, flags, data) == 0;
  }
  ~Mount() {
    if (m_ok) umount2(m_target.c_str(), MNT_DETACH);
  }
  bool ok() const { return m_ok; }

 private:
  fs::path m_target;
  bool m_ok = false;
};

TEST_F(ConvertFileTest, FullDiskLeavesTheOriginalWhole) {
  if (!IsRoot()) GTEST_SKIP() << "mounting a small file system needs root";
  const fs::path small = dir() / "small";
  fs::create_directory(small);
  Mount tmpfs(small, "tmpfs", "tmpfs", 0, "size=64k");
  if (!tmpfs.ok()) GTEST_SKIP() << "cannot mount tmpfs here";
  std::string big;
  while (big.size() < 40 * 1024) big += "<P CLASS=X>line</P>\n";
  WriteFileBytes(small / "big.htm", big);

  ConvertOptions overwrite;
  EXPECT_EQ(ConvertFile(small, "big.htm", L, overwrite, sink), ConvertResult::OutputNotWritten);
  EXPECT_EQ(ReadFileBytes(small / "big.htm"), big);
  EXPECT_EQ(Names(small), std::vector<std::string>{"big.htm"});

  ConvertOptions copy;
  copy.overwrite = false;
  EXPECT_EQ(ConvertFile(small, "big.htm", L, copy, sink), ConvertResult::OutputNotWritten);
  EXPECT_EQ(Names(small / "NewFolder"), std::vector<std::string>{});
  EXPECT_EQ(sink.messages, std::vector<ShownMessage>(2, Message(text::kOutputNotWritten)));
}

TEST_F(ConvertFileTest, ReadOnlyFolderRefusesTheOutput) {
  if (!IsRoot()) GTEST_SKIP() << "a read-only bind mount needs root";
  const fs::path src = dir() / "src", ro = dir() / "ro";
  fs::create_directory(src);
  fs::create_directory(ro);
  WriteFileBytes(src / "a.htm", kHtml);
  Mount bind(ro, src.c_str(), nullptr, MS_BIND, nullptr);
  if (!bind.ok()) GTEST_SKIP() << "cannot bind-mount here";
  Mount readOnly(ro, nullptr, nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr);
  ASSERT_TRUE(readOnly.ok());
  ConvertOptions overwrite;
  EXPECT_EQ(ConvertFile(ro, "a.htm", L, overwrite, sink), ConvertResult::OutputNotOpened);
  EXPECT_EQ(ReadFileBytes(src / "a.htm"), kHtml);
}

// The command line run as a user who may read but not write.
TEST_F(ConvertFileTest, AnotherUserWithoutWriteAccess) {
  if (!IsRoot()) GTEST_SKIP() << "running as another user needs root";
  if (!Works({"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "/bin/true"})) {
    GTEST_SKIP() << "setpriv cannot change user here";
  }
  fs::permissions(dir(), fs::perms(0755));
  WriteFileBytes(dir() / "mine.htm", kHtml);    // 0644, root's: nobody may not write it
  WriteFileBytes(dir() / "shared.htm", kHtml);  // anyone may write it, but not the folder
  fs::permissions(dir() / "shared.htm", fs::perms(0666));
  const auto result = RunProcess({"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", ZORMIN_CLI,
                                  "tags", "--lower", (dir() / "mine.htm").string(), (dir() / "shared.htm").string()});
  EXPECT_EQ(result.exitCode, 1) << result.err;
  EXPECT_NE(result.err.find("mine.htm: " + testing::CliText(text::kReadOnly)), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("shared.htm: " + testing::CliText(text::kOutputNotOpened)), std::string::npos) << result.err;
  EXPECT_EQ(ReadFileBytes(dir() / "mine.htm"), kHtml);
  EXPECT_EQ(ReadFileBytes(dir() / "shared.htm"), kHtml);
}

// Failures at chosen system calls, injected by strace into the command line:
// each one leaves the file as it was, with its mode, and says why.
TEST_F(ConvertFileTest, InjectedFailuresAreReportedAndLoseNothing) {
  if (!Works(kStraceProbe)) GTEST_SKIP() << "strace is not installed or cannot trace here";
  struct Case {
    const char* path;    // only the calls on this file fail; none: the first call anywhere
    const char* inject;  // strace's -e inject=...
    std::string_view message;
    const char* reason;
  };
  std::vector<Case> cases = {
      {"a.htm", "read:error=EIO", text::kInputNotRead, "Input/output error"},
      {nullptr, "write:error=EIO", text::kOutputNotWritten, "Input/output error"},
      {nullptr, "write:error=ENOSPC", text::kOutputNotWritten, "No space left on device"},
      {nullptr, "fchmod:error=EPERM", text::kOutputNotWritten, "Operation not permitted"},
      {"zormin.tmp", "linkat:error=ENOSPC", text::kOutputNotWritten, "No space left on device"},
      {"zormin.tmp", "rename:error=EXDEV", text::kOutputNotWritten, "Invalid cross-device link"},
  };
  // The owner is kept where it can be, and must be: as root, a refused chown
  // abandons the replacement too.
  if (IsRoot()) cases.push_back({nullptr, "fchown:error=EPERM", text::kOutputNotWritten, "Operation not permitted"});
  const fs::path file = dir() / "a.htm";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.inject);
    WriteFileBytes(file, kHtml);
    fs::permissions(file, fs::perms(0640));
    if (IsRoot()) {
      ASSERT_EQ(chown(file.c_str(), 65534, 65534), 0);
    }
    std::vector<std::string> argv = {"/usr/bin/strace", "-f", "-o", "/dev/null"};
    if (c.path != nullptr) argv.insert(argv.end(), {"-P", (dir() / c.path).string()});
    const std::string call = std::string(c.inject).substr(0, std::string(c.inject).find(':'));
    argv.insert(argv.end(), {"-e", "trace=" + call, "-e", std::string("inject=") + c.inject + (c.path ? "" : ":when=1"),
                             ZORMIN_CLI, "tags", "--lower", file.string()});
    const auto result = RunProcess(argv);
    EXPECT_EQ(result.exitCode, 1) << result.err;
    EXPECT_EQ(result.err, file.string() + ": " + testing::CliText(c.message) + " (" + c.reason + ")\n");
    EXPECT_EQ(ReadFileBytes(file), kHtml);
    EXPECT_EQ(fs::status(file).permissions(), fs::perms(0640));
    EXPECT_EQ(Names(dir()), std::vector<std::string>{"a.htm"});
  }
}

// A signal while the file is written leaves the original; one that comes
// while the finished file bears the temporary name waits until it has
// replaced the original. Either way no temporary file is left. strace sends
// the signal as the program enters the call.
TEST_F(ConvertFileTest, SignalLeavesNoTemporaryFile) {
  if (!Works(kStraceProbe)) GTEST_SKIP() << "strace is not installed or cannot trace here";
  const fs::path file = dir() / "a.htm";
  struct Case {
    const char* call;
    std::string after;
  };
  for (const Case& c : {Case{"write", kHtml}, Case{"linkat", kLower}}) {
    SCOPED_TRACE(c.call);
    WriteFileBytes(file, kHtml);
    const auto result = RunProcess({"/usr/bin/strace", "-f", "-o", "/dev/null", "-e", std::string("trace=") + c.call, "-e",
                                    std::string("inject=") + c.call + ":signal=SIGTERM:when=1", ZORMIN_CLI, "tags",
                                    "--lower", file.string()});
    EXPECT_EQ(result.exitCode, -1);  // ended by the signal
    EXPECT_EQ(ReadFileBytes(file), c.after);
    EXPECT_EQ(Names(dir()), std::vector<std::string>{"a.htm"});
  }
}

// Real Japanese files: every character survives, in place and as a copy.
TEST_F(ConvertFileTest, JapaneseFilesInEachEncoding) {
  const std::string page = "<P CLASS=X>ソフトウェア</P><IMG ALT=x アイウ SRC=y>\n<P>主上予但</P>\n";
  const std::string lower = "<p class=X>ソフトウェア</p><img alt=x アイウ src=y>\r\n<p>主上予但</p>\r\n";
  for (const char* encoding : {"SHIFT_JIS", "EUC-JP", "ISO-2022-JP", "UTF-8"}) {
    SCOPED_TRACE(encoding);
    const std::string name = std::string(encoding) + ".htm";
    WriteFileBytes(dir() / name, testing::Encode(page, encoding));
    EXPECT_EQ(Convert(name, false), ConvertResult::Converted);
    EXPECT_EQ(Convert(name), ConvertResult::Converted);
    EXPECT_EQ(ReadFileBytes(dir() / name), testing::Encode(lower, encoding));
    EXPECT_EQ(ReadFileBytes(dir() / "NewFolder" / name), testing::Encode(lower, encoding));
  }
}

}  // namespace
}  // namespace zormin
