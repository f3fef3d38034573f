#pragma once
// Every text the core shows the user, and the defaults the window starts
// with, in one place. The window shows these texts as they stand; "%s" stands
// for a file name.

#include <string_view>

namespace zormin {

// The window's defaults at every start, which the command line shares.
inline constexpr std::string_view kDefaultSubFolder = "NewFolder";
inline constexpr std::string_view kDefaultFileType = "*.htm";

namespace text {
// The conversion of one file.
inline constexpr std::string_view kInputNotOpened = "ファイルが選択されていません。";
inline constexpr std::string_view kOutputNotOpened = "出力ファイル・オープンエラー！";
inline constexpr std::string_view kOutputNotWritten = "出力ファイル書き込みエラー！";
inline constexpr std::string_view kInputNotRead = "入力ファイル読み込みエラー！";
inline constexpr std::string_view kReadOnly = "読み取り専用ファイルは上書きできません。";
// A file that is not text, left alone where binary files are skipped.
inline constexpr std::string_view kNotText = "テキスト・ファイルではないので変換しませんでした。";
// Shared by the conversion run and the file-name case change.
inline constexpr std::string_view kNoFolder = "フォルダ選択されていません。";
inline constexpr std::string_view kNoFiles = "変換対象ファイルがありません。";
inline constexpr std::string_view kNothingSelected = "選択ファイルがありません。";
// The conversion run.
inline constexpr std::string_view kConfirmAllFiles = "全てのﾌｧｲﾙを変換します。\nHTML形式以外のﾌｧｲﾙはありませんね？";
inline constexpr std::string_view kAllConvertedLower = "全てのファイルの<タグ>を小文字に変換しました。";
inline constexpr std::string_view kAllConvertedUpper = "全てのファイルの<タグ>を大文字に変換しました。";
inline constexpr std::string_view kSelectedConvertedLower = "選択ファイルの<タグ>を小文字に変換しました。";
inline constexpr std::string_view kSelectedConvertedUpper = "選択ファイルの<タグ>を大文字に変換しました。";
// The file list: the folder could not be read to its end, so the list shows
// only part of its files.
inline constexpr std::string_view kFolderNotReadCompletely = "フォルダを最後まで読み込めませんでした。";
// The file-name case change.
inline constexpr std::string_view kRenameFailed = "リネームできませんでした。\n[ %s ]";
inline constexpr std::string_view kRenameFailedStop = "リネームできませんでした。\n[ %s ]\n処理を中断しますか？";
}  // namespace text

}  // namespace zormin
