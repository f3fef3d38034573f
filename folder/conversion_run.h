#pragma once
// The conversion run: the tags of the selected file, or of every listed file,
// to upper or lower case, with the questions and the closing message.

#include <filesystem>
#include <string>
#include <string_view>

#include "convert/charset.h"
#include "convert/text_convert.h"
#include "core/case_mode.h"
#include "core/message.h"
#include "folder/file_list.h"
#include "core/texts.h"

namespace zormin {

// The window's choices at the moment of the click. The defaults are the
// window's at start-up.
struct ConversionOptions {
  std::filesystem::path folder;          // the selected folder; empty: none yet
  std::string fileType{kDefaultFileType};    // the pattern the list was made with
  std::string subFolder{kDefaultSubFolder};  // output folder name in subfolder mode
  CaseMode mode = CaseMode::Upper;
  bool allFiles = false;                 // false: the selected entry only
  bool overwrite = true;                 // false: copies into `subFolder`
  Encoding encoding = Encoding::Auto;
  LineEnds lineEnds = LineEnds::CrLf;
  bool skipBinary = false;               // see ConvertOptions
};

// How a run ended. Only Converted means that every file asked for was
// converted; every other outcome has shown a message saying why not.
enum class ConversionOutcome {
  Converted,        // closing message shown
  NoFolder,         // no folder selected
  Declined,         // the question about "*.*" answered No
  NoFiles,          // all-files run over an empty list
  NothingSelected,  // selected-entry run with no entry selected
  Failed,           // some file failed (its own message was shown)
  Cancelled,        // stopped between two files at the user's request
};

// Converts the selected entry of `list`, or every entry, in `options.folder`.
// The list is neither refreshed nor is its selection changed.
ConversionOutcome StartConversion(const ConversionOptions& options, FileList& list, MessageSink& sink);

}  // namespace zormin
