#include "cli/messages.h"

#include <clocale>
#include <filesystem>
#include <system_error>

#include "core/texts.h"

namespace zormin::cli {

namespace {

// Every text of the core, with its English version. po/ja.po gives each
// English version back as the core's text, byte for byte.
constexpr CoreText kCoreTexts[] = {
    {text::kInputNotOpened, N_("cannot open the file")},
    {text::kOutputNotOpened, N_("cannot open the output file")},
    {text::kOutputNotWritten, N_("cannot write the output file")},
    {text::kInputNotRead, N_("cannot read the file")},
    {text::kReadOnly, N_("a read-only file is not overwritten")},
    {text::kNotText, N_("not text: skipped")},
    {text::kNoFolder, N_("no folder selected")},
    {text::kNoFiles, N_("no files to convert")},
    {text::kNothingSelected, N_("no file selected")},
    {text::kConfirmAllFiles, N_("Every file of the folder is converted.\nAre they all HTML files?")},
    {text::kAllConvertedLower, N_("the tags of all files are now lower case")},
    {text::kAllConvertedUpper, N_("the tags of all files are now upper case")},
    {text::kSelectedConvertedLower, N_("the tags of the file are now lower case")},
    {text::kSelectedConvertedUpper, N_("the tags of the file are now upper case")},
    {text::kFolderNotReadCompletely, N_("the folder was not read completely")},
    {text::kRenameFailed, N_("cannot rename\n[ %s ]")},
    {text::kRenameFailedStop, N_("cannot rename\n[ %s ]\nStop here?")},
};

}  // namespace

std::span<const CoreText> CoreTexts() { return kCoreTexts; }

void BindMessages(const char* localeDir) {
  ::bindtextdomain(kTextDomain, localeDir);
}

void SetUpMessages() {
  std::setlocale(LC_CTYPE, "");
  std::setlocale(LC_MESSAGES, "");
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) {
    BindMessages(ZORMIN_LOCALEDIR);
  } else if (std::filesystem::equivalent(exe.parent_path(), ZORMIN_BUILD_DIR, ec)) {
    BindMessages(ZORMIN_BUILD_DIR "/locale");
  } else {
    // Beside the program as installed (bin/../share/locale), wherever the
    // tree was put: the prefix it was built for may not be where it is.
    BindMessages((exe.parent_path() / ZORMIN_LOCALEDIR_FROM_BINDIR).c_str());
  }
}

std::string FillIn(std::string_view format, std::initializer_list<std::string_view> values) {
  std::string text;
  const std::string_view* value = values.begin();
  std::size_t from = 0;
  for (std::size_t at; value != values.end() && (at = format.find("%s", from)) != std::string_view::npos; ++value) {
    text.append(format.substr(from, at - from)).append(*value);
    from = at + 2;
  }
  return text.append(format.substr(from));
}

std::string LocalText(std::string_view coreText, std::string (*showName)(std::string_view)) {
  for (const CoreText& known : kCoreTexts) {
    const std::size_t at = known.core.find("%s");
    if (at == std::string_view::npos) {
      if (coreText == known.core) return _(known.english);
      continue;
    }
    const std::string_view before = known.core.substr(0, at);
    const std::string_view after = known.core.substr(at + 2);
    if (coreText.size() >= before.size() + after.size() && coreText.starts_with(before) &&
        coreText.ends_with(after)) {
      const std::string_view name = coreText.substr(before.size(), coreText.size() - before.size() - after.size());
      return FillIn(_(known.english), {showName != nullptr ? showName(name) : std::string(name)});
    }
  }
  return std::string(coreText);
}

}  // namespace zormin::cli
