#pragma once
// The command line's messages in the user's language, through gettext. The
// core's texts are Japanese, as the window shows them; the command line
// speaks English and shows them through their English versions, so that a
// Japanese locale gets exactly the core's texts back from the catalog.

#include <libintl.h>

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

// Marks a text for the catalog where it is not translated at once.
#define N_(text) text

namespace zormin::cli {

// The catalog's domain: zormin-cli.mo under <dir>/<language>/LC_MESSAGES/.
inline constexpr const char* kTextDomain = "zormin-cli";

// The text in the user's language.
inline const char* _(const char* english) { return ::dgettext(kTextDomain, english); }

// Takes the language and the character set from the environment (the other
// parts of the locale stay "C", so sorting and case never depend on it) and
// reads the catalogs from the build tree when the program runs from there,
// else from the installed tree the program is in.
void SetUpMessages();

// Reads the catalogs from `localeDir` (tests).
void BindMessages(const char* localeDir);

// A text of the core, as the core hands it to a MessageSink, in the user's
// language. A text with a file name is recognised by the fixed parts of its
// template, and the name is shown through `showName` where one is given. A
// text not known here is returned as it is.
std::string LocalText(std::string_view coreText, std::string (*showName)(std::string_view) = nullptr);

// `format` with each "%s" replaced by the next of `values`, in order.
std::string FillIn(std::string_view format, std::initializer_list<std::string_view> values);

// The core's texts and their English versions, for the catalog's test.
struct CoreText {
  std::string_view core;
  const char* english;
};
std::span<const CoreText> CoreTexts();

}  // namespace zormin::cli
