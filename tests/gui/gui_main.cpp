// The window tests own a wxApp on a display of their own (xvfb-run). Asserts
// fail the test; a modal dialog that no test expected fails and is cancelled.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/log.h>
#include <wx/modalhook.h>
#include <wx/utils.h>

#include <fstream>
#include <thread>

#include "app/convert_dlg.h"
#include "gui_environment.h"
#include "test_util.h"

namespace zormin::testing {

namespace fs = std::filesystem;

namespace {

fs::path g_home;

void WriteText(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path) << text;
}

// A program that writes its arguments, NUL after each, and two desktop
// applications of it: one the default for plain text, one for HTML and web
// addresses.
void MakeFakeDesktop() {
  const fs::path record = g_home / "bin" / "record";
  const fs::path out = g_home / "launched";
  WriteText(record, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > '" + out.string() +
                        ".part'\nmv '" + out.string() + ".part' '" + out.string() + "'\n");
  fs::permissions(record, fs::perms::owner_all);
  const auto app = [&](const char* tag, const char* types, const char* field) {
    return "[Desktop Entry]\nType=Application\nName=" + std::string(tag) + "\nExec=" + record.string() + " " + tag +
           " " + field + "\nMimeType=" + types + "\n";
  };
  WriteText(g_home / "data" / "applications" / "text-recorder.desktop", app("text", "text/plain;", "%f"));
  WriteText(g_home / "data" / "applications" / "html-recorder.desktop",
            app("html", "text/html;x-scheme-handler/https;", "%f"));
  WriteText(g_home / "config" / "mimeapps.list",
            "[Default Applications]\ntext/plain=text-recorder.desktop\ntext/html=html-recorder.desktop\n"
            "x-scheme-handler/https=html-recorder.desktop\n");
}

void MakeHome() {
  std::string pattern = (fs::temp_directory_path() / "zormin-gui-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  g_home = pattern;
  setenv("HOME", g_home.c_str(), 1);
  setenv("XDG_CONFIG_HOME", (g_home / "config").c_str(), 1);
  setenv("XDG_DATA_HOME", (g_home / "data").c_str(), 1);
  setenv("XDG_CACHE_HOME", (g_home / "cache").c_str(), 1);
  setenv("GSETTINGS_BACKEND", "memory", 1);
  MakeFakeDesktop();
}

class TestApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

// Every modal dialog but the main window's own must be expected by the test.
class UnexpectedDialogHook : public wxModalDialogHook {
 protected:
  int Enter(wxDialog* dialog) override {
    if (dynamic_cast<CConvertDlg*>(dialog) != nullptr) return wxID_NONE;
    ADD_FAILURE() << "unexpected modal dialog: " << dialog->GetTitle().utf8_str() << " / "
                  << dialog->GetClassInfo()->GetClassName();
    return wxID_CANCEL;
  }
  void Exit(wxDialog*) override {}
};

void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg) {
  ADD_FAILURE_AT(file.utf8_str(), line) << func.utf8_str() << ": " << cond.utf8_str() << " " << msg.utf8_str();
}

}  // namespace

const fs::path& TestHome() { return g_home; }

std::vector<std::string> TakeLaunch() {
  const fs::path out = g_home / "launched";
  for (int i = 0; i < 500 && !fs::exists(out); ++i) {
    wxYield();
    wxMilliSleep(10);
  }
  const std::string bytes = ReadFileBytes(out);
  std::error_code ec;
  fs::remove(out, ec);
  std::vector<std::string> args;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t end = bytes.find('\0', at);
    args.push_back(bytes.substr(at, end - at));
    at = end + 1;
  }
  return args;
}

}  // namespace zormin::testing

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // ctest asks for the list of tests without a display.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();

  zormin::testing::MakeHome();
  wxApp::SetInstance(new zormin::testing::TestApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    std::fprintf(stderr, "no display: run under xvfb-run -a\n");
    return 1;
  }
  wxSetAssertHandler(zormin::testing::FailOnAssert);
  delete wxLog::SetActiveTarget(new wxLogStderr);
  zormin::testing::UnexpectedDialogHook hook;
  hook.Register();
  const int result = RUN_ALL_TESTS();
  hook.Unregister();
  wxTheApp->OnExit();
  wxEntryCleanup();
  std::error_code ec;
  std::filesystem::remove_all(zormin::testing::TestHome(), ec);
  return result;
}
