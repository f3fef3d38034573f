// Times the window's rebuild of its file list: the main window, made as the
// program makes it, lists FOLDER (type "*.htm") ROUNDS times. Prints the
// median in seconds and the number of entries. Needs a display.
// Usage: window_refresh FOLDER [ROUNDS]

#include <wx/app.h>
#include <wx/init.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "app/convert_dlg.h"

namespace {
class BenchApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: window_refresh FOLDER [ROUNDS]\n");
    return 2;
  }
  const std::string folder = argv[1];
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  wxApp::SetInstance(new BenchApp);
  int wxArgc = 1;
  if (!wxEntryStart(wxArgc, argv) || !wxTheApp->CallOnInit()) {
    std::fprintf(stderr, "no display\n");
    return 1;
  }
  std::vector<double> times;
  std::size_t count = 0;
  {
    // No settings file: the window starts with no folder, then gets one.
    const std::filesystem::path none = std::filesystem::temp_directory_path() / "zormin-bench-no-settings";
    zormin::CConvertDlg window(nullptr, zormin::SettingsFile(none));
    window.Show();
    window.logic().SetFolder(folder);
    for (int i = 0; i < rounds; ++i) {
      const auto start = std::chrono::steady_clock::now();
      window.logic().RefreshFileList();
      wxYield();  // the list box draws its new entries
      times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    count = window.files().Count();
    window.Hide();
  }
  std::sort(times.begin(), times.end());
  std::printf("%.3f %zu\n", times[times.size() / 2], count);
  wxEntryCleanup();
  return 0;
}
