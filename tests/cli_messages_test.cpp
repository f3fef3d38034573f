// The command line's catalog: the core's texts come back exactly under a
// Japanese locale, in English otherwise, and every core text has its
// English version.

#include "cli/messages.h"

#include <gtest/gtest.h>

#include <clocale>
#include <fstream>
#include <sstream>
#include <string>

namespace zormin::cli {
namespace {

// Sets the language and character set for one test, and the catalog of the
// build tree; back to "C" afterwards.
class CatalogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { BindMessages(ZORMIN_TEST_LOCALEDIR); }
  void TearDown() override { UseLocale("C"); }
  static bool UseLocale(const char* name) {
    return std::setlocale(LC_CTYPE, name) != nullptr && std::setlocale(LC_MESSAGES, name) != nullptr;
  }
};

TEST_F(CatalogTest, CoreTextsAreEnglishUnderCAndThemselvesUnderJapanese) {
  ASSERT_TRUE(UseLocale("C.UTF-8"));
  for (const CoreText& known : CoreTexts()) {
    SCOPED_TRACE(known.english);
    const std::string shown = FillIn(known.core, {"Index.HTM"});
    EXPECT_EQ(LocalText(shown), FillIn(known.english, {"Index.HTM"}));
  }
  if (!UseLocale("ja_JP.UTF-8")) GTEST_SKIP() << "the locale ja_JP.UTF-8 is not installed";
  for (const CoreText& known : CoreTexts()) {
    SCOPED_TRACE(known.english);
    EXPECT_EQ(_(known.english), known.core);
    const std::string shown = FillIn(known.core, {"資料 %s.htm"});
    EXPECT_EQ(LocalText(shown), shown);
  }
}

TEST_F(CatalogTest, UnknownTextsPassUnchanged) {
  ASSERT_TRUE(UseLocale("C.UTF-8"));
  EXPECT_EQ(LocalText("何か別のこと"), "何か別のこと");
  EXPECT_EQ(LocalText(""), "");
}

// Each text in the core's list of texts has an English version here, so
// that no core text reaches an English user in Japanese.
TEST(CoreTexts, EveryTextOfTheCoreIsKnown) {
  std::ifstream file(ZORMIN_SOURCE_DIR "/core/texts.h");
  ASSERT_TRUE(file);
  std::string line;
  bool inTexts = false;
  int count = 0;
  while (std::getline(file, line)) {
    if (line.starts_with("namespace text")) inTexts = true;
    if (line.starts_with("}  // namespace text")) inTexts = false;
    const std::size_t open = line.find("= \"");
    if (!inTexts || open == std::string::npos) continue;
    std::string literal = line.substr(open + 3, line.rfind('"') - open - 3);
    for (std::size_t at; (at = literal.find("\\n")) != std::string::npos;) literal.replace(at, 2, "\n");
    ++count;
    SCOPED_TRACE(literal);
    bool known = false;
    for (const CoreText& text : CoreTexts()) known = known || text.core == literal;
    EXPECT_TRUE(known);
  }
  EXPECT_GT(count, 0);
}

}  // namespace
}  // namespace zormin::cli
