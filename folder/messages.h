#pragma once
// The texts the folder commands show. "%s" stands for a file name.

#include <string_view>

namespace zormin {

namespace text {
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
// The file-name case change.
inline constexpr std::string_view kRenameFailed = "リネームできませんでした。\n[ %s ]";
inline constexpr std::string_view kRenameFailedStop = "リネームできませんでした。\n[ %s ]\n処理を中断しますか？";
}  // namespace text

}  // namespace zormin
