// The program: one modal window for the life of the process.

#include <wx/app.h>

#include "app/convert_dlg.h"
#include "settings/settings_file.h"

namespace zormin {

class CConvertApp : public wxApp {
 public:
  bool OnInit() override {
    // The settings file stays where the program was started, wherever the
    // window later moves the working directory.
    m_settings = SettingsFile();
    return true;
  }
  // The window runs modally; when it closes, the program ends.
  int OnRun() override {
    CConvertDlg dialog(nullptr, m_settings);
    dialog.ShowModal();
    return 0;
  }

 private:
  SettingsFile m_settings;
};

}  // namespace zormin

wxIMPLEMENT_APP(zormin::CConvertApp);
