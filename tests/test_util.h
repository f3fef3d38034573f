#pragma once
// Shared pieces of the tests: a temporary folder, whole-file reads and writes,
// Japanese text in each encoding, and a message sink that records and answers.

#include <gtest/gtest.h>
#include <iconv.h>
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/message.h"

namespace zormin::testing {

namespace fs = std::filesystem;

inline std::string ReadFileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteFileBytes(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// UTF-8 text in another encoding ("SHIFT_JIS", "EUC-JP", "ISO-2022-JP"), by the C library's iconv.
inline std::string Encode(std::string_view utf8, const char* encoding) {
  if (std::string_view(encoding) == "UTF-8") return std::string(utf8);
  iconv_t cd = iconv_open(encoding, "UTF-8");
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << encoding;
  std::string in(utf8), out(utf8.size() * 4 + 16, '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  size_t inLeft = in.size(), outLeft = out.size();
  EXPECT_NE(iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft), static_cast<size_t>(-1)) << encoding;
  EXPECT_NE(iconv(cd, nullptr, nullptr, &outPtr, &outLeft), static_cast<size_t>(-1)) << encoding;
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

// A folder of its own for each test, removed afterwards.
class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "zormin-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    m_dir = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    // Make everything removable again (tests take write bits away).
    for (auto it = fs::recursive_directory_iterator(m_dir, ec); !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
      if (it->is_directory(ec)) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(m_dir, ec);
  }
  const fs::path& dir() const { return m_dir; }

 private:
  fs::path m_dir;
};

struct ShownMessage {
  std::string text;
  MessageButtons buttons;
  MessageIcon icon;
  bool operator==(const ShownMessage&) const = default;
};

inline void PrintTo(const ShownMessage& m, std::ostream* os) {
  *os << '"' << m.text << "\" buttons=" << static_cast<int>(m.buttons) << " icon=" << static_cast<int>(m.icon);
}

// Records every message; answers Yes/No questions from a queue (No when it is empty).
class RecordingSink : public MessageSink {
 public:
  MessageAnswer ShowMessage(std::string_view text, MessageButtons buttons, MessageIcon icon) override {
    messages.push_back({std::string(text), buttons, icon});
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    if (answers.empty()) return MessageAnswer::No;
    const MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void BeginFile(std::string_view name) override { files.emplace_back(name); }
  void NoteCause(std::error_code error, std::string_view path) override { causes.push_back({error, std::string(path)}); }

  struct Cause {
    std::error_code error;
    std::string path;
    bool operator==(const Cause&) const = default;
  };
  std::vector<ShownMessage> messages;
  std::vector<Cause> causes;
  std::vector<std::string> files;
  std::deque<MessageAnswer> answers;
};

}  // namespace zormin::testing

#include <fcntl.h>
#include <locale.h>
#include <sys/mman.h>
#include <sys/wait.h>

namespace zormin::testing {

struct ProcessResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

inline std::string ReadFd(int fd) {
  std::string text;
  lseek(fd, 0, SEEK_SET);
  char buf[65536];
  ssize_t n;
  while ((n = read(fd, buf, sizeof buf)) > 0) text.append(buf, static_cast<size_t>(n));
  return text;
}

// Runs a program with `input` on its standard input and collects its output.
inline ProcessResult RunProcess(const std::vector<std::string>& argv, std::string_view input = {},
                                const fs::path& workdir = {}) {
  const int in = memfd_create("stdin", 0), out = memfd_create("stdout", 0), err = memfd_create("stderr", 0);
  EXPECT_EQ(write(in, input.data(), input.size()), static_cast<ssize_t>(input.size()));
  lseek(in, 0, SEEK_SET);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    if (!workdir.empty() && chdir(workdir.c_str()) != 0) _exit(126);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  ProcessResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = ReadFd(out);
  result.err = ReadFd(err);
  close(in);
  close(out);
  close(err);
  return result;
}

inline bool IsRoot() { return geteuid() == 0; }

// The language of the programs a test starts, for one scope: LC_ALL in the
// environment they inherit.
class ScopedLanguage {
 public:
  explicit ScopedLanguage(const char* locale) {
    if (const char* old = getenv("LC_ALL")) m_old = old;
    setenv("LC_ALL", locale, 1);
  }
  ~ScopedLanguage() {
    if (m_old) {
      setenv("LC_ALL", m_old->c_str(), 1);
    } else {
      unsetenv("LC_ALL");
    }
  }
  ScopedLanguage(const ScopedLanguage&) = delete;
  ScopedLanguage& operator=(const ScopedLanguage&) = delete;

 private:
  std::optional<std::string> m_old;
};

// Whether the system has the locale (install-deps.sh makes ja_JP.UTF-8).
inline bool HasLocale(const char* name) {
  locale_t locale = newlocale(LC_ALL_MASK, name, nullptr);
  if (locale == nullptr) return false;
  freelocale(locale);
  return true;
}

}  // namespace zormin::testing
