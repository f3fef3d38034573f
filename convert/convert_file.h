#pragma once
// Conversion of one listed file, in place or into a copy in a subfolder.

#include <filesystem>
#include <string>
#include <string_view>

#include "convert/charset.h"
#include "convert/text_convert.h"
#include "core/case_mode.h"
#include "core/message.h"
#include "core/texts.h"

namespace zormin {

enum class ConvertResult {
  Converted = 0,        // converted (or copied) and the output written whole
  InputNotOpened = 1,   // "ファイルが選択されていません。"
  OutputNotOpened = 2,  // "出力ファイル・オープンエラー！"
  OutputNotWritten = 3, // "出力ファイル書き込みエラー！": write, close or rename failed
  InputNotRead = 4,     // "入力ファイル読み込みエラー！"
  ReadOnly = 5,         // "読み取り専用ファイルは上書きできません。"
  NotText = 6,          // "テキスト・ファイルではないので変換しませんでした。" (skipBinary)
};

// The name the new content takes, in the folder of the file or of the copy,
// for the moment between being written whole and replacing the file (or, on
// a file system without unnamed files, all the while it is written).
inline constexpr std::string_view kTempFileName = "zormin.tmp";

struct ConvertOptions {
  bool overwrite = true;                // false: write a copy into `subFolder`
  std::string subFolder{kDefaultSubFolder};  // created in the folder if missing
  Encoding encoding = Encoding::Auto;
  LineEnds lineEnds = LineEnds::CrLf;
  // Leave a file alone that does not look like text (LooksBinary). The
  // command line skips such files; the window converts what it lists.
  bool skipBinary = false;
};

// Converts `folder`/`name` to `mode`. Shows its own message for every failure,
// after noting its cause with the sink; the caller adds none. The file stays
// as it was unless the result is Converted. A replaced file keeps its mode,
// owner and group exactly; a copy gets the file's permission bits less the
// umask. Permissions that cannot be given exactly fail the conversion. A file
// whose converted bytes equal its own is left alone in place (its inode, time
// stamps and hard links stay) and counts as converted.
ConvertResult ConvertFile(const std::filesystem::path& folder, const std::string& name, CaseMode mode,
                          const ConvertOptions& options, MessageSink& sink);

}  // namespace zormin
