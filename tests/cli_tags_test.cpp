// zormin-cli tags: the filter, files named on the command line, and usage errors.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "convert/convert_file.h"
#include "test_util.h"

namespace zormin {
namespace {

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
  const auto result = RunProcess({ZORMIN_CLI, "tags", "--lower", "a.htm", "missing.htm", "b.htm"}, {}, dir());
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "missing.htm: " + std::string(text::kInputNotOpened) + " (No such file or directory)\n");
  EXPECT_EQ(ReadFileBytes(dir() / "a.htm"), "<a>\r\n");
  EXPECT_EQ(ReadFileBytes(dir() / "b.htm"), "<b>\r\n");

  const auto copies = RunProcess({ZORMIN_CLI, "tags", "--upper", "--subfolder=out", "a.htm"}, {}, dir());
  EXPECT_EQ(copies.exitCode, 0) << copies.err;
  EXPECT_EQ(ReadFileBytes(dir() / "out" / "a.htm"), "<A>\r\n");
}

TEST(CliTags, UsageErrors) {
  const std::vector<std::vector<std::string>> calls = {
      {},
      {"frobnicate"},
      {"tags"},
      {"tags", "--upper", "--lower"},
      {"tags", "--lower", "--encoding", "latin1"},
      {"tags", "--lower", "--encoding"},
      {"tags", "--lower", "--subfolder", "x"},
      {"tags", "--lower", "--bogus", "a.htm"},
  };
  for (const auto& call : calls) {
    std::vector<std::string> argv{ZORMIN_CLI};
    argv.insert(argv.end(), call.begin(), call.end());
    const auto result = RunProcess(argv);
    SCOPED_TRACE(::testing::PrintToString(call));
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("zormin-cli: "), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
  }
  const auto help = RunProcess({ZORMIN_CLI, "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("zormin-cli tags --upper|--lower"), std::string::npos);
  EXPECT_EQ(RunProcess({ZORMIN_CLI, "--version"}).out, "zormin-cli " ZORMIN_VERSION "\n");
}

}  // namespace
}  // namespace zormin
