// The conversion run: every way it ends, with its messages, over real files.

#include "folder/conversion_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/convert_file.h"
#include "test_util.h"

namespace zormin {
namespace {

namespace fs = std::filesystem;

using testing::ShownMessage;
using Messages = std::vector<ShownMessage>;

constexpr std::string_view kUpperText = "<HTML><Body>x</Body></HTML>\r\n";
constexpr std::string_view kLowerText = "<html><body>x</body></html>\r\n";

ShownMessage Ok(std::string_view text, MessageIcon icon = MessageIcon::Exclamation) {
  return {std::string(text), MessageButtons::Ok, icon};
}
const ShownMessage kConfirm{std::string(text::kConfirmAllFiles), MessageButtons::YesNo, MessageIcon::Question};

class ConversionRunTest : public testing::TempDirTest {
 protected:
  void Write(const std::string& name, std::string_view bytes = kUpperText) {
    testing::WriteFileBytes(dir() / name, bytes);
  }
  std::string Read(const std::string& name) { return testing::ReadFileBytes(dir() / name); }
  // Lower case, the list made from the folder with the options' file type.
  ConversionOptions Options(bool allFiles) {
    ConversionOptions options;
    options.folder = dir();
    options.mode = CaseMode::Lower;
    options.allFiles = allFiles;
    return options;
  }
  ConversionOutcome Run(const ConversionOptions& options, long select = -1) {
    RefreshFileList(list, options.folder.empty() ? dir() : options.folder, options.fileType);
    list.Select(select);
    return StartConversion(options, list, sink);
  }

  VectorFileList list;
  testing::RecordingSink sink;
};

TEST_F(ConversionRunTest, RunsThatConvertNothing) {
  struct Row {
    const char* what;
    bool folder;
    bool allFiles;
    const char* fileType;
    bool withFile;
    std::vector<MessageAnswer> answers;
    Messages expected;
    ConversionOutcome outcome;
  };
  const Row rows[] = {
      {"no folder, selected file", false, false, "*.htm", true, {}, {Ok(text::kNoFolder, MessageIcon::Error)},
       ConversionOutcome::NoFolder},
      {"no folder, all files", false, true, "*.htm", true, {}, {Ok(text::kNoFolder, MessageIcon::Error)},
       ConversionOutcome::NoFolder},
      {"*.* declined", true, true, "*.*", true, {MessageAnswer::No}, {kConfirm}, ConversionOutcome::Declined},
      {"*.* accepted, nothing listed", true, true, "*.*", false, {MessageAnswer::Yes}, {kConfirm, Ok(text::kNoFiles)},
       ConversionOutcome::NoFiles},
      {"*.* declined, nothing listed", true, true, "*.*", false, {MessageAnswer::No}, {kConfirm},
       ConversionOutcome::Declined},
      {"nothing listed", true, true, "*.htm", false, {}, {Ok(text::kNoFiles)}, ConversionOutcome::NoFiles},
      {"nothing selected", true, false, "*.htm", true, {}, {Ok(text::kNothingSelected)},
       ConversionOutcome::NothingSelected},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    std::error_code ec;
    fs::remove(dir() / "a.htm", ec);
    if (row.withFile) Write("a.htm");
    sink = {};
    sink.answers.assign(row.answers.begin(), row.answers.end());
    ConversionOptions options = Options(row.allFiles);
    options.fileType = row.fileType;
    if (!row.folder) options.folder.clear();
    EXPECT_EQ(Run(options), row.outcome);
    EXPECT_EQ(sink.messages, row.expected);
    if (row.withFile) {
      EXPECT_EQ(Read("a.htm"), kUpperText);
    }
  }
}

TEST_F(ConversionRunTest, ClosingMessages) {
  struct Row {
    CaseMode mode;
    bool allFiles;
    const char* fileType;
    Messages expected;
  };
  const Row rows[] = {
      {CaseMode::Lower, false, "*.htm", {Ok(text::kSelectedConvertedLower)}},
      {CaseMode::Upper, false, "*.*", {Ok(text::kSelectedConvertedUpper)}},  // no question
      {CaseMode::Lower, true, "*.htm", {Ok(text::kAllConvertedLower)}},
      {CaseMode::Upper, true, "*.*", {kConfirm, Ok(text::kAllConvertedUpper)}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.fileType) + (row.allFiles ? " all files" : " selected file"));
    Write("a.htm", "<Html></Html>\r\n");
    sink = {};
    sink.answers = {MessageAnswer::Yes};
    ConversionOptions options = Options(row.allFiles);
    options.mode = row.mode;
    options.fileType = row.fileType;
    EXPECT_EQ(Run(options, 0), ConversionOutcome::Converted);
    EXPECT_EQ(sink.messages, row.expected);
    EXPECT_EQ(Read("a.htm"), row.mode == CaseMode::Lower ? "<html></html>\r\n" : "<HTML></HTML>\r\n");
  }
}

TEST_F(ConversionRunTest, FileGoneAfterListingIsReportedAndTheBatchGoesOn) {
  Write("1.htm");
  Write("2.htm");
  Write("3.htm");
  RefreshFileList(list, dir(), "*.htm");
  fs::remove(dir() / "2.htm");

  EXPECT_EQ(StartConversion(Options(true), list, sink), ConversionOutcome::Failed);
  EXPECT_EQ(sink.messages, Messages{Ok(text::kInputNotOpened)});  // no closing message
  EXPECT_EQ(Read("1.htm"), kLowerText);
  EXPECT_EQ(Read("3.htm"), kLowerText);
  // Each file's messages are announced with its name.
  EXPECT_EQ(std::vector<std::string>(sink.files.begin() + 1, sink.files.begin() + 4),
            (std::vector<std::string>{"1.htm", "2.htm", "3.htm"}));
}

TEST_F(ConversionRunTest, SelectedFileGoneShowsOnlyItsMessage) {
  Write("a.htm");
  RefreshFileList(list, dir(), "*.htm");
  list.Select(0);
  fs::remove(dir() / "a.htm");
  EXPECT_EQ(StartConversion(Options(false), list, sink), ConversionOutcome::Failed);
  EXPECT_EQ(sink.messages, Messages{Ok(text::kInputNotOpened)});
}

TEST_F(ConversionRunTest, SubfolderRunLeavesFilesAndListAlone) {
  Write("a.htm");
  Write("b.htm");
  ConversionOptions options = Options(true);
  options.overwrite = false;
  EXPECT_EQ(Run(options, 1), ConversionOutcome::Converted);
  EXPECT_EQ(Read("a.htm"), kUpperText);
  EXPECT_EQ(testing::ReadFileBytes(dir() / "NewFolder" / "a.htm"), kLowerText);
  EXPECT_EQ(testing::ReadFileBytes(dir() / "NewFolder" / "b.htm"), kLowerText);
  EXPECT_EQ(list.names(), (std::vector<std::string>{"a.htm", "b.htm"}));
  EXPECT_EQ(list.Selected(), 1);
}

// A sink that is told of every file before it starts and stops the run at the
// second: the first file is converted whole, the others are untouched, and no
// closing message follows.
TEST_F(ConversionRunTest, ARunStoppedBetweenFilesLeavesTheRestUntouched) {
  struct StoppingSink : testing::RecordingSink {
    bool ContinueRun(std::size_t index, std::size_t total, std::string_view name) override {
      progress.push_back(std::to_string(index) + "/" + std::to_string(total) + " " + std::string(name));
      return index < 1;
    }
    std::vector<std::string> progress;
  } stopping;
  Write("1.htm");
  Write("2.htm");
  Write("3.htm");
  RefreshFileList(list, dir(), "*.htm");
  EXPECT_EQ(StartConversion(Options(true), list, stopping), ConversionOutcome::Cancelled);
  EXPECT_EQ(stopping.progress, (std::vector<std::string>{"0/3 1.htm", "1/3 2.htm"}));
  EXPECT_TRUE(stopping.messages.empty());
  EXPECT_EQ(Read("1.htm"), kLowerText);
  EXPECT_EQ(Read("2.htm"), kUpperText);
  EXPECT_EQ(Read("3.htm"), kUpperText);
}

}  // namespace
}  // namespace zormin
