#pragma once
// The core's messages as message boxes owned by the main window, and the
// progress of a run over many files.

#include <wx/progdlg.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <memory>
#include <optional>
#include <string>

#include "core/message.h"

namespace zormin {

// Every message box is captioned with the program's name.
wxString MessageCaption();

class MessageBoxSink : public MessageSink {
 public:
  explicit MessageBoxSink(wxWindow* owner) : m_owner(owner) {}
  MessageAnswer ShowMessage(std::string_view text, MessageButtons buttons, MessageIcon icon) override;
  void BeginFile(std::string_view name) override { m_file = name; }

 private:
  wxWindow* m_owner;
  std::string m_file;  // the file the next messages are about, which they may name
};

// For the length of one run: messages go on to `messages`; a run over more
// than kProgressFrom files shows a progress dialog whose cancel stops the
// run before the next file, and the busy cursor shows while files are done.
class RunProgressSink : public MessageSink {
 public:
  static constexpr std::size_t kProgressFrom = 5;

  RunProgressSink(wxWindow* owner, MessageSink& messages) : m_owner(owner), m_messages(messages) {}
  ~RunProgressSink() override;
  MessageAnswer ShowMessage(std::string_view text, MessageButtons buttons, MessageIcon icon) override;
  // A message about no file in particular follows the run's last file: the
  // progress goes before it is shown.
  void BeginFile(std::string_view name) override;
  bool ContinueRun(std::size_t index, std::size_t total, std::string_view name) override;

 private:
  wxWindow* m_owner;
  MessageSink& m_messages;
  std::unique_ptr<wxProgressDialog> m_progress;
  std::optional<wxBusyCursor> m_busy;
};

}  // namespace zormin
