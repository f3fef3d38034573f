#pragma once
// Every text the window shows, in one place: its labels and captions, the
// file types, the guide window's lines and the window's own messages. UTF-8;
// the wx side turns them into wxString with wxString::FromUTF8 (a narrow
// literal with Japanese would come out empty under the C locale).

#include <array>
#include <string_view>

namespace zormin::window_text {

// The main window (template 102).
inline constexpr std::string_view kMainCaption = "Velsk工房 - ZORMIN";
inline constexpr std::string_view kExit = "終了(&E)";
inline constexpr std::string_view kGuide = "説明書(&H)";
inline constexpr std::string_view kSettingsGroup = "変換条件設定";
inline constexpr std::string_view kFolderLabel = "選択フォルダ：（最初に▼ボタンで選択してね！）";
inline constexpr std::string_view kStart = "変換開始(&R)";
inline constexpr std::string_view kBrowse = "▼";
inline constexpr std::string_view kFileNameLabel = "ファイル名選択：";
inline constexpr std::string_view kFileTypeLabel = "ファイル種別：";
inline constexpr std::string_view kTagGroup = "変換内容";
inline constexpr std::string_view kUpper = "<ﾀｸﾞ>の大文字変換";
inline constexpr std::string_view kLower = "<ﾀｸﾞ>の小文字変換";
inline constexpr std::string_view kOutputGroup = "出力ﾌｧｲﾙ";
inline constexpr std::string_view kSelectedOnly = "選択ファイルのみ変換";
inline constexpr std::string_view kAllFiles = "全てのファイル変換";
inline constexpr std::string_view kSubFolderLabel = "サブ・フォルダ名：";
inline constexpr std::string_view kTargetGroup = "変換方法";
inline constexpr std::string_view kOverwrite = "上書き出力";
inline constexpr std::string_view kSubFolderOutput = "サブ・フォルダ出力";
inline constexpr std::string_view kHomePage = "Velskﾎｰﾑﾍﾟｰｼﾞ";
inline constexpr std::string_view kNamesUpper = "名前大文字";
inline constexpr std::string_view kNamesLower = "名前小文字";
inline constexpr std::string_view kOpenByAssociation = "ﾌｧｲﾙ名ﾀﾞﾌﾞﾙｸﾘｯｸ時、関連付けにてﾌｧｲﾙを開く";
// The version item of the window's menu (string 101).
inline constexpr std::string_view kVersionItem = "ZORMIN のﾊﾞｰｼﾞｮﾝ情報(&A)...";

// The items of the file-type list, in this order.
inline constexpr std::array<std::string_view, 5> kFileTypes = {"*.htm", "*.html", "*.cgi", "*.pl", "*.*"};

// The window's own messages. "%1" stands for the limit in bytes.
inline constexpr std::string_view kTooLong = "%1 文字以内で入力してください。";
inline constexpr std::string_view kEditorNotStarted = "ｴﾃﾞｨﾀが起動できませんでした。";
inline constexpr std::string_view kChooseFolderTitle = "ﾌｫﾙﾀﾞを選択して下さい";
// The progress of a run over many files: "%1" the file's number, "%2" the
// number of files, "%3" its name.
inline constexpr std::string_view kProgress = "%1 / %2 ファイル\n%3";

// The guide window (template 100).
inline constexpr std::string_view kGuideCaption = "ソルナ説明書＆ﾊﾞｰｼﾞｮﾝ情報";
inline constexpr std::string_view kGuideVersion = "ソルナ　 Version 1.2";
inline constexpr std::string_view kGuideNotice = "(C) Velsk工房";
inline constexpr std::string_view kGuideDisclaimer = "";
inline constexpr std::string_view kGuideOk = "OK";
inline constexpr std::string_view kGuideListLabel = "ﾌﾟﾛｸﾞﾗﾑ説明：";
inline constexpr std::array<std::string_view, 26> kGuideLines = {
    "",
    "「ソルナ」は、HTML形式で記述されたﾌｧｲﾙの<ﾀｸﾞ>を、",
    "大文字、または、小文字に変換するﾌﾟﾛｸﾞﾗﾑです。",
    "",
    "【操作方法】",
    "・最初に変換対象ﾌｧｲﾙのﾌｫﾙﾀﾞ選択をおこなって下さい。",
    "・ﾘｽﾄﾎﾞｯｸｽにｿｰｽﾌｧｲﾙ名が表示されます。",
    "・ﾌｧｲﾙ種別を選択したい場合、ファイル種別で選択して下さい。",
    "・変換したいファイルを選択して下さい。",
    "・変換内容を選択して下さい。",
    "・変換方法を選択して下さい。",
    "・出力ファイルを選択して下さい。",
    "・サブフォルダへ出力の場合、フォルダ名を入力して下さい。",
    "・[変換開始]ﾎﾞﾀﾝをｸﾘｯｸすれば実行されます。",
    "・ﾘｽﾄﾎﾞｯｸｽのｿｰｽﾌｧｲﾙ名をﾀﾞﾌﾞﾙｸﾘｯｸするとｴﾃﾞｨﾀで表示します。",
    "・関連づけにてﾌｧｲﾙを開くをﾁｪｯｸすると関連づけにて開きます。",
    "",
    "【ボタン説明】",
    "[▼]：　ﾌｫﾙﾀﾞ選択ﾀﾞｲｱﾛｸﾞを表示してﾌｫﾙﾀﾞ選択します。",
    "[名前大文字]：ファイル名を大文字に変換します。",
    "[名前小文字]：ファイル名を小文字に変換します。",
    "[変換開始]：　指定の条件でｿｰｽﾌｧｲﾙを整形します。",
    "[説明書]：　ﾊﾞｰｼﾞｮﾝ情報と操作説明です。",
    "[Velskﾎｰﾑﾍﾟｰｼﾞ]：　Velsk工房のﾎｰﾑﾍﾟｰｼﾞを関連づけにて表示します。",
    "[終了]：　ﾌﾟﾛｸﾞﾗﾑを終了します。",
    "",
};

}  // namespace zormin::window_text
