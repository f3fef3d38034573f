// The main and guide windows, driven by events as a user would, with the
// message boxes and the folder chooser answered by the test.

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/app.h>
#include <wx/dirdlg.h>
#include <wx/progdlg.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/filename.h>
#include <wx/listbox.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/testing.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>
#include <wx/xrc/xmlres.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "app/convert_dlg.h"
#include "app/guide_dlg.h"
#include "app/window_texts.h"
#include "core/texts.h"
#include "gui_environment.h"
#include "test_util.h"
#include "window_folder_test.h"

namespace zormin {
namespace {

namespace fs = std::filesystem;
using testing::ShownMessage;
using Messages = std::vector<ShownMessage>;

std::string U(const wxString& text) { return std::string(text.utf8_str()); }

ShownMessage Ok(std::string_view text, MessageIcon icon = MessageIcon::Exclamation) {
  return {std::string(text), MessageButtons::Ok, icon};
}

// A guide window that the test looks at, then closes.
class ExpectGuide : public wxExpectModalBase<CGuideDlg, ExpectGuide> {
 public:
  explicit ExpectGuide(std::function<void(CGuideDlg*)> look = {}) : m_look(std::move(look)) {}

 protected:
  int OnInvoked(CGuideDlg* guide) const override {
    if (m_look) m_look(guide);
    return wxID_OK;
  }

 private:
  std::function<void(CGuideDlg*)> m_look;
};

std::vector<std::string> Lines(const wxListBox* box) {
  std::vector<std::string> lines;
  for (unsigned i = 0; i < box->GetCount(); ++i) lines.push_back(U(box->GetString(i)));
  return lines;
}

class WindowTest : public testing::WindowFolderTest {
 protected:
  void TearDown() override {
    window.reset();  // writes its settings file while the folder is there
    WindowFolderTest::TearDown();
  }
  std::string SettingsText() { return testing::ReadFileBytes(Settings().path()); }

  // Opens the window with `folder` in its settings file (none: no file).
  CConvertDlg& Open(const std::optional<std::string>& folder) {
    if (folder) Settings().Write(*folder);
    window = std::make_unique<CConvertDlg>(nullptr, Settings());
    window->SetMessageSink(&sink);
    window->SetFolderChooser([this](wxWindow*, const std::string& folder) {
      chooserOpenedOn = folder;
      return chosen;
    });
    return *window;
  }

  template <typename T>
  T* Control(int id) {
    return wxDynamicCast(window->FindWindow(id), T);
  }
  wxListBox* List() { return Control<wxListBox>(1003); }
  void Click(int id) {
    wxCommandEvent event(wxEVT_BUTTON, id);
    event.SetEventObject(window->FindWindow(id));
    window->FindWindow(id)->ProcessWindowEvent(event);
  }
  void Check(int id) {
    Control<wxRadioButton>(id)->SetValue(true);
    wxCommandEvent event(wxEVT_RADIOBUTTON, id);
    event.SetInt(1);
    event.SetEventObject(window->FindWindow(id));
    window->FindWindow(id)->ProcessWindowEvent(event);
  }
  void ChooseFileType(int item) {
    wxChoice* choice = Control<wxChoice>(1004);
    choice->SetSelection(item);
    wxCommandEvent event(wxEVT_CHOICE, 1004);
    event.SetInt(item);
    event.SetString(choice->GetString(item));
    event.SetEventObject(choice);
    choice->ProcessWindowEvent(event);
  }
  void DoubleClick(int item) {
    List()->SetSelection(item);
    wxCommandEvent event(wxEVT_LISTBOX_DCLICK, 1003);
    event.SetInt(item);
    event.SetEventObject(List());
    List()->ProcessWindowEvent(event);
  }
  void Command(int id, wxWindow* to) {
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(to);
    to->GetEventHandler()->ProcessEvent(event);
  }
  // Enter as the list gets it from the keyboard, with the list's cursor on
  // its first entry, as moving the focus there puts it, and that entry
  // selected or not.
  void PressEnterInTheList(bool selected) {
    GtkTreeView* view = GTK_TREE_VIEW(gtk_bin_get_child(GTK_BIN(List()->GetHandle())));
    List()->SetFocus();
    GtkTreePath* first = gtk_tree_path_new_first();
    gtk_tree_view_set_cursor(view, first, nullptr, FALSE);
    gtk_tree_path_free(first);
    if (!selected) gtk_tree_selection_unselect_all(gtk_tree_view_get_selection(view));
    GdkEvent* key = gdk_event_new(GDK_KEY_PRESS);
    key->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(GTK_WIDGET(view))));
    key->key.keyval = GDK_KEY_Return;
    key->key.time = GDK_CURRENT_TIME;
    gdk_event_set_device(key, gdk_seat_get_keyboard(gdk_display_get_default_seat(gdk_display_get_default())));
    gtk_main_do_event(key);
    gdk_event_free(key);
  }
  std::vector<std::string> Shown() {
    std::vector<std::string> shown;
    for (unsigned i = 0; i < List()->GetCount(); ++i) shown.push_back(U(List()->GetString(i)));
    return shown;
  }

  testing::RecordingSink sink;
  std::unique_ptr<CConvertDlg> window;
  std::optional<std::string> chosen, chooserOpenedOn;
};

TEST_F(WindowTest, StartsWithItsDefaultsTextsAndTheRestoredFolder) {
  Touch("b.htm");
  Touch("A.htm");
  fs::create_directory(dir() / "web" / "c.htm");
  CConvertDlg& dlg = Open(web);

  EXPECT_EQ(U(dlg.GetTitle()), "Velsk工房 - ZORMIN");
  const std::pair<int, std::string_view> labels[] = {
      {wxID_OK, window_text::kExit},          {wxID_HELP, window_text::kGuide},
      {1001, window_text::kStart},            {1002, window_text::kBrowse},
      {1005, window_text::kUpper},            {1006, window_text::kLower},
      {1007, window_text::kSelectedOnly},     {1008, window_text::kAllFiles},
      {1013, window_text::kSubFolderLabel},   {1010, window_text::kOverwrite},
      {1011, window_text::kSubFolderOutput},  {1012, window_text::kHomePage},
      {1014, window_text::kNamesUpper},       {1015, window_text::kNamesLower},
      {1016, window_text::kOpenByAssociation},
  };
  for (const auto& [id, text] : labels) {
    SCOPED_TRACE(id);
    EXPECT_EQ(U(dlg.FindWindow(id)->GetLabel()), text);
  }
  EXPECT_EQ(U(dlg.FindWindow(1012)->GetLabel()), "Velskﾎｰﾑﾍﾟｰｼﾞ");
  EXPECT_EQ(U(dlg.FindWindow(XRCID("folder_label"))->GetLabel()), "選択フォルダ：（最初に▼ボタンで選択してね！）");

  wxChoice* types = Control<wxChoice>(1004);
  ASSERT_EQ(types->GetCount(), 5u);
  EXPECT_EQ(U(types->GetString(4)), "*.*");
  EXPECT_EQ(types->GetSelection(), 0);
  EXPECT_TRUE(Control<wxRadioButton>(1005)->GetValue());
  EXPECT_TRUE(Control<wxRadioButton>(1007)->GetValue());
  EXPECT_TRUE(Control<wxRadioButton>(1010)->GetValue());
  EXPECT_FALSE(Control<wxCheckBox>(1016)->GetValue());
  EXPECT_FALSE(dlg.FindWindow(1009)->IsEnabled());
  EXPECT_FALSE(dlg.FindWindow(1013)->IsEnabled());
  EXPECT_EQ(U(Control<wxTextCtrl>(1009)->GetValue()), "NewFolder");
  EXPECT_EQ(U(Control<wxTextCtrl>(1000)->GetValue()), web);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"A.htm", "b.htm"}));
  EXPECT_EQ(List()->GetSelection(), wxNOT_FOUND);
  EXPECT_TRUE(dlg.GetIcon().IsOk());
}

TEST_F(WindowTest, TheRowsOfTheEventTable) {
  Touch("a.htm");
  Touch("b.html");
  CConvertDlg& dlg = Open(web);

  Check(1007);
  EXPECT_EQ(List()->GetSelection(), 0);
  Check(1008);
  EXPECT_EQ(List()->GetSelection(), wxNOT_FOUND);
  Check(1007);

  Check(1011);
  EXPECT_TRUE(dlg.FindWindow(1009)->IsEnabled());
  EXPECT_TRUE(dlg.FindWindow(1013)->IsEnabled());
  Control<wxTextCtrl>(1009)->ChangeValue("typed");
  Check(1010);
  EXPECT_FALSE(dlg.FindWindow(1009)->IsEnabled());
  EXPECT_EQ(U(Control<wxTextCtrl>(1009)->GetValue()), "NewFolder");

  ChooseFileType(1);
  EXPECT_EQ(Shown(), std::vector<std::string>{"b.html"});
  EXPECT_EQ(List()->GetSelection(), wxNOT_FOUND);

  // The folder chooser opens on the folder shown; cancelled, it rebuilds the list.
  fs::create_directory(dir() / "other");
  testing::WriteFileBytes(dir() / "other" / "o.html", "x");
  List()->SetSelection(0);
  Click(1002);
  EXPECT_EQ(chooserOpenedOn, web);
  EXPECT_EQ(List()->GetSelection(), wxNOT_FOUND);
  chosen = (dir() / "other").string();
  Click(1002);
  EXPECT_EQ(U(Control<wxTextCtrl>(1000)->GetValue()), *chosen);
  EXPECT_EQ(Shown(), std::vector<std::string>{"o.html"});
  EXPECT_EQ(fs::current_path(), fs::path(*chosen));
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(WindowTest, AConversionAndARenamingThroughTheirButtons) {
  Touch("Index.HTM", "<P>x</P>\r\n");
  Touch("b.htm", "<P>y</P>\r\n");
  Open(web);
  Check(1006);
  Check(1008);
  Click(1001);
  EXPECT_EQ(Read("Index.HTM"), "<p>x</p>\r\n");
  EXPECT_EQ(Read("b.htm"), "<p>y</p>\r\n");
  EXPECT_EQ(sink.messages, Messages{Ok(text::kAllConvertedLower)});

  Check(1007);  // selects the first entry
  sink.messages.clear();
  Click(1014);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"B.HTM", "Index.HTM"}));
  EXPECT_EQ(List()->GetSelection(), 0);
  EXPECT_TRUE(sink.messages.empty());

  Check(1008);
  Click(1015);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"b.htm", "index.htm"}));
}

// The progress dialog of a run, while it is shown.
wxGenericProgressDialog* ShownProgress() {
  for (wxWindow* window : wxTopLevelWindows) {
    auto* progress = dynamic_cast<wxGenericProgressDialog*>(window);
    if (progress != nullptr && progress->IsShown()) return progress;
  }
  return nullptr;
}

// Notes whether a progress dialog is up before each file and at each
// message, and presses its cancel button before file `cancelAt`.
class ProgressWatch : public testing::RecordingSink {
 public:
  bool ContinueRun(std::size_t index, std::size_t, std::string_view) override {
    wxGenericProgressDialog* progress = ShownProgress();
    beforeFile.push_back(progress != nullptr);
    if (progress != nullptr && index == cancelAt) {
      wxWindow* cancel = progress->FindWindow(wxID_CANCEL);
      wxCommandEvent click(wxEVT_BUTTON, wxID_CANCEL);
      click.SetEventObject(cancel);
      cancel->ProcessWindowEvent(click);
    }
    return true;
  }
  MessageAnswer ShowMessage(std::string_view text, MessageButtons buttons, MessageIcon icon) override {
    atMessage.push_back(ShownProgress() != nullptr);
    return RecordingSink::ShowMessage(text, buttons, icon);
  }

  std::size_t cancelAt = SIZE_MAX;
  std::vector<bool> beforeFile, atMessage;
};

TEST_F(WindowTest, ALongRunShowsItsProgressWhichIsGoneBeforeTheClosingMessage) {
  for (int i = 0; i < 8; ++i) Touch("f" + std::to_string(i) + ".htm", "<p>x</p>\r\n");
  Open(web);
  ProgressWatch watch;
  window->SetMessageSink(&watch);
  Check(1008);
  Click(1001);
  EXPECT_EQ(watch.messages, Messages{Ok(text::kAllConvertedUpper)});
  EXPECT_EQ(watch.beforeFile, (std::vector<bool>{false, true, true, true, true, true, true, true}));
  EXPECT_EQ(watch.atMessage, std::vector<bool>{false});
  EXPECT_EQ(Read("f7.htm"), "<P>x</P>\r\n");
  EXPECT_EQ(ShownProgress(), nullptr);
}

// Cancel takes effect between two files: the file in hand is finished, the
// rest are left as they were, and no closing message claims they were done.
TEST_F(WindowTest, CancellingTheProgressStopsTheRunBeforeTheNextFile) {
  for (int i = 0; i < 8; ++i) Touch("f" + std::to_string(i) + ".htm", "<p>x</p>\r\n");
  Open(web);
  ProgressWatch watch;
  watch.cancelAt = 3;
  window->SetMessageSink(&watch);
  Check(1008);
  Click(1001);
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Read("f" + std::to_string(i) + ".htm"), i < 3 ? "<P>x</P>\r\n" : "<p>x</p>\r\n");
  }
  EXPECT_TRUE(watch.messages.empty());
  EXPECT_EQ(ShownProgress(), nullptr);
}

TEST_F(WindowTest, ANameThatIsNotUtf8IsShownReadablyAndWorkedOnByItsBytes) {
  const std::string name = testing::Encode("資料.htm", "SHIFT_JIS");
  Touch(name, "<p>x</p>\r\n");
  Open(web);
  EXPECT_EQ(Shown(), std::vector<std::string>{"資料.htm"});
  Check(1007);
  Click(1001);
  EXPECT_EQ(Read(name), "<P>x</P>\r\n");
  EXPECT_EQ(sink.messages, Messages{Ok(text::kSelectedConvertedUpper)});
}

TEST_F(WindowTest, TheCloseStepStopsAtATooLongFieldWithItsMessage) {
  CConvertDlg& dlg = Open(std::nullopt);
  dlg.logic().SetFolder("/" + std::string(300, 'x'));
  dlg.logic().ShowFields();
  Click(wxID_OK);  // the window is not modal here: closing would assert
  EXPECT_EQ(sink.messages, Messages{Ok("256 文字以内で入力してください。")});
  long from = 0, to = 0;
  Control<wxTextCtrl>(1000)->GetSelection(&from, &to);
  EXPECT_EQ(from, 0);
  EXPECT_EQ(to, 301);
}

TEST_F(WindowTest, TypingInTheSubFolderBoxStopsAtItsLimitInBytes) {
  Open(std::nullopt);
  Check(1011);
  wxTextCtrl* box = Control<wxTextCtrl>(1009);
  std::string fullWidth;
  for (int i = 0; i < 64; ++i) fullWidth += "あ";
  box->SetValue(wxString::FromUTF8(fullWidth));
  EXPECT_EQ(box->GetValue().length(), 64u);  // 128 bytes: just within
  box->AppendText("x");
  EXPECT_EQ(box->GetValue().length(), 64u);  // 129: refused
}

// Every way of closing writes the settings file once the window goes; only
// the exit button takes the fields first.
TEST_F(WindowTest, EveryWayOfClosingWritesTheSettingsFile) {
  struct Row {
    const char* what;
    std::function<void(CConvertDlg&)> close;
    int result;
  };
  const Row rows[] = {
      {"exit button", [this](CConvertDlg&) { Click(wxID_OK); }, wxID_OK},
      {"escape",
       [](CConvertDlg& dlg) {
         wxKeyEvent key(wxEVT_CHAR_HOOK);
         key.m_keyCode = WXK_ESCAPE;
         dlg.ProcessWindowEvent(key);
       },
       wxID_CANCEL},
      {"close box", [](CConvertDlg& dlg) { dlg.Close(); }, wxID_CANCEL},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    fs::remove(Settings().path());
    CConvertDlg& dlg = Open(std::nullopt);
    chosen = web;
    Click(1002);
    dlg.CallAfter([&] { row.close(dlg); });
    wxTimer guard;  // should the window stay open
    guard.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { dlg.EndModal(wxID_ABORT); });
    guard.StartOnce(5000);
    EXPECT_EQ(dlg.ShowModal(), row.result);
    guard.Stop();
    window.reset();
    EXPECT_EQ(SettingsText(), web + "\r\n");
  }
}

// Enter in an edit box presses the default button, "終了(&E)", whose close
// step takes the box's text.
TEST_F(WindowTest, EnterInTheSubFolderBoxPressesTheExitButton) {
  CConvertDlg& dlg = Open(std::nullopt);
  Check(1011);
  wxTextCtrl* box = Control<wxTextCtrl>(1009);
  box->ChangeValue("Typed");
  wxUIActionSimulator keys;
  bool pressed = false;
  dlg.CallAfter([&] {
    box->SetFocus();
    for (int i = 0; i < 20; ++i) wxYield();
    if (!box->HasFocus()) {
      dlg.EndModal(wxID_ABORT);
      return;
    }
    pressed = keys.Char(WXK_RETURN);
  });
  wxTimer guard;  // should the key never arrive
  guard.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { dlg.EndModal(wxID_ABORT); });
  guard.StartOnce(5000);
  const int result = dlg.ShowModal();
  guard.Stop();
  if (!pressed) GTEST_SKIP() << "the display gives the box no keyboard focus";
  EXPECT_EQ(result, wxID_OK);
  EXPECT_EQ(dlg.logic().subFolder(), "Typed");
}

// GTK's list opens its entry on Enter; here, as everywhere but on a push
// button, Enter presses the exit button. The entry's type has no application,
// so opening it would show a message.
TEST_F(WindowTest, EnterInTheFileListPressesTheExitButton) {
  Touch("x.zzzunknown", std::string("\x01\x02\x03\x00", 4));
  for (const bool selected : {true, false}) {
    SCOPED_TRACE(selected);
    CConvertDlg& dlg = Open(web);
    ChooseFileType(4);
    Control<wxCheckBox>(1016)->SetValue(true);
    dlg.CallAfter([&] { PressEnterInTheList(selected); });
    wxTimer guard;  // should the window stay open
    guard.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { dlg.EndModal(wxID_ABORT); });
    guard.StartOnce(5000);
    EXPECT_EQ(dlg.ShowModal(), wxID_OK);
    guard.Stop();
    EXPECT_TRUE(sink.messages.empty());
    window.reset();
  }
}

TEST_F(WindowTest, TheGuideShowsItsLinesInOrderEveryTimeItOpens) {
  Open(std::nullopt);
  std::vector<std::vector<std::string>> seen;
  const auto look = [&](CGuideDlg* guide) {
    seen.push_back(Lines(guide->lines()));
    EXPECT_EQ(U(guide->GetTitle()), "ソルナ説明書＆ﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_EQ(U(guide->FindWindow(XRCID("guide_version"))->GetLabel()), "ソルナ\u3000 Version 1.2");
  };
  wxTEST_DIALOG(Click(wxID_HELP), ExpectGuide(look));
  wxTEST_DIALOG(Click(wxID_HELP), ExpectGuide(look));
  // The version item of the window's menu opens it too.
  wxTEST_DIALOG(Command(kVersionCommand, window.get()), ExpectGuide(look));
  ASSERT_EQ(seen.size(), 3u);
  for (const std::vector<std::string>& lines : seen) {
    ASSERT_EQ(lines.size(), 26u);
    EXPECT_EQ(lines, std::vector<std::string>(window_text::kGuideLines.begin(), window_text::kGuideLines.end()));
    EXPECT_EQ(lines[1], "「ソルナ」は、HTML形式で記述されたﾌｧｲﾙの<ﾀｸﾞ>を、");
    EXPECT_EQ(lines[24], "[終了]：　ﾌﾟﾛｸﾞﾗﾑを終了します。");
  }
}

TEST_F(WindowTest, F1OpensAGuideAndAnotherOverIt) {
  CConvertDlg& dlg = Open(std::nullopt);
  // F1 in a guide window goes to the main window, which opens the next guide
  // over the one that asked.
  wxWindow* secondParent = nullptr;
  CGuideDlg* first = nullptr;
  wxTEST_DIALOG(Command(wxID_HELP, &dlg), ExpectGuide([&](CGuideDlg* guide) {
                  first = guide;
                  wxTEST_DIALOG(Command(wxID_HELP, guide),
                                ExpectGuide([&](CGuideDlg* second) { secondParent = second->GetParent(); }));
                }));
  EXPECT_EQ(secondParent, first);

  // The key itself, pressed in the shown window.
  dlg.Show();
  dlg.Raise();
  dlg.FindWindow(wxID_OK)->SetFocus();
  for (int i = 0; i < 20; ++i) wxYield();
  if (!dlg.IsActive()) GTEST_SKIP() << "the display gives the window no keyboard focus";
  wxUIActionSimulator keys;
  bool opened = false;
  wxTEST_DIALOG(
      {
        keys.Char(WXK_F1);
        for (int i = 0; i < 50 && !opened; ++i) {
          wxYield();
          wxMilliSleep(10);
        }
      },
      ExpectGuide([&](CGuideDlg*) { opened = true; }));
  EXPECT_TRUE(opened);
  dlg.Hide();
}

TEST_F(WindowTest, LaunchesHandTheWholeNameToTheDesktopsApplications) {
  const std::string name = "a b 'q' \"d\" $HOME 日本語 " + std::string(80, 'n') + ".htm";
  Touch(name);
  CConvertDlg& dlg = Open(web);
  DoubleClick(0);
  EXPECT_EQ(testing::TakeLaunch(), (std::vector<std::string>{"text", web + "/" + name}));
  Control<wxCheckBox>(1016)->SetValue(true);
  DoubleClick(0);
  EXPECT_EQ(testing::TakeLaunch(), (std::vector<std::string>{"html", web + "/" + name}));
  EXPECT_TRUE(sink.messages.empty());

  // The home page opens in the program found at start, with the address as
  // its one argument.
  EXPECT_EQ(dlg.logic().browserPath(), (testing::TestHome() / "bin" / "record").string());
  Click(1012);
  EXPECT_EQ(testing::TakeLaunch(), (std::vector<std::string>{std::string(kHomePage)}));
}

TEST_F(WindowTest, AFileTypeWithNoApplicationCannotBeOpened) {
  Touch("x.zzzunknown", std::string("\x01\x02\x03\x00", 4));
  Open(web);
  ChooseFileType(4);
  Control<wxCheckBox>(1016)->SetValue(true);
  DoubleClick(0);
  EXPECT_EQ(sink.messages, Messages{Ok(window_text::kEditorNotStarted)});
}

// The real folder chooser, answered by the test: it opens on the folder
// given and gives back the one chosen, both as bytes that need not be UTF-8.
class ExpectChooser : public wxExpectModalBase<wxDirDialog, ExpectChooser> {
 public:
  ExpectChooser(std::string choose, std::string& openedOn) : m_choose(std::move(choose)), m_openedOn(&openedOn) {}

 protected:
  int OnInvoked(wxDirDialog* dialog) const override {
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog->GetHandle());
    *m_openedOn = CurrentFolder(chooser, {});
    if (m_choose.empty()) return wxID_CANCEL;
    gtk_file_chooser_set_current_folder(chooser, m_choose.c_str());
    CurrentFolder(chooser, m_choose);
    return wxID_OK;
  }

 private:
  // The chooser takes in a folder in the background: waits a moment for it
  // to be `expected`, or to be any folder at all.
  static std::string CurrentFolder(GtkFileChooser* chooser, const std::string& expected) {
    std::string folder;
    for (int i = 0; i < 200; ++i) {
      if (gchar* current = gtk_file_chooser_get_current_folder(chooser)) {
        folder = current;
        g_free(current);
        if (expected.empty() || folder == expected) break;
      }
      wxYield();
      wxMilliSleep(10);
    }
    return folder;
  }

  std::string m_choose;
  std::string* m_openedOn;
};

TEST_F(WindowTest, TheFolderChooserTakesAndGivesTheFoldersBytes) {
  const std::string sjis = web + "/" + testing::Encode("資料", "SHIFT_JIS");
  const std::string other = web + "/" + testing::Encode("別", "SHIFT_JIS");
  fs::create_directory(sjis);
  fs::create_directory(other);
  wxDialog owner(nullptr, wxID_ANY, "owner");
  std::string openedOn;
  std::optional<std::string> chosen;
  wxTEST_DIALOG(chosen = ChooseWithDirDialog(&owner, sjis), ExpectChooser(other, openedOn));
  EXPECT_EQ(openedOn, sjis);
  EXPECT_EQ(chosen, other);
  wxTEST_DIALOG(chosen = ChooseWithDirDialog(&owner, sjis), ExpectChooser("", openedOn));
  EXPECT_EQ(chosen, std::nullopt);
}

// A message box as it was shown, answered with `press`.
struct SeenMessage {
  wxString caption, message;
  long style = 0;
};
class ExpectMessage : public wxExpectModalBase<wxMessageDialog, ExpectMessage> {
 public:
  ExpectMessage(int press, SeenMessage& seen) : m_press(press), m_seen(&seen) {}

 protected:
  int OnInvoked(wxMessageDialog* box) const override {
    *m_seen = {box->GetCaption(), box->GetMessage(), box->GetMessageDialogStyle()};
    return m_press;
  }

 private:
  int m_press;
  SeenMessage* m_seen;
};

// The four forms of a message box, captioned with the
// program's name; a file named in it shows readably.
TEST(MessageBoxTest, FourForms) {
  struct Row {
    MessageButtons buttons;
    MessageIcon icon;
    long style;
    int press;
    MessageAnswer answer;
  };
  const Row rows[] = {
      {MessageButtons::Ok, MessageIcon::Error, wxOK | wxICON_ERROR, wxID_OK, MessageAnswer::Ok},
      {MessageButtons::YesNo, MessageIcon::Question, wxYES_NO | wxICON_QUESTION, wxID_YES, MessageAnswer::Yes},
      {MessageButtons::Ok, MessageIcon::Exclamation, wxOK | wxICON_EXCLAMATION, wxID_OK, MessageAnswer::Ok},
      {MessageButtons::YesNo, MessageIcon::Exclamation, wxYES_NO | wxICON_EXCLAMATION, wxID_NO, MessageAnswer::No},
  };
  wxDialog owner(nullptr, wxID_ANY, "owner");
  MessageBoxSink sink(&owner);
  const std::string sjisName = testing::Encode("資料.htm", "SHIFT_JIS");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.style);
    SeenMessage seen;
    MessageAnswer answer{};
    sink.BeginFile(sjisName);
    wxTEST_DIALOG(answer = sink.ShowMessage("x\n[ " + sjisName + " ]", row.buttons, row.icon),
                  ExpectMessage(row.press, seen));
    EXPECT_EQ(answer, row.answer);
    EXPECT_EQ(seen.style & (wxOK | wxYES_NO | wxICON_MASK), row.style);
    EXPECT_EQ(U(seen.message), "x\n[ 資料.htm ]");
    EXPECT_EQ(seen.caption, wxFileName(wxTheApp->argv[0]).GetName());
  }
}

}  // namespace
}  // namespace zormin
