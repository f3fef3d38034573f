#include "app/message_box_sink.h"

#include <wx/app.h>
#include <wx/msgdlg.h>

#include "app/legacy_text.h"
#include "app/window_texts.h"

namespace zormin {

namespace {

wxString FromUtf8(std::string_view text) { return wxString::FromUTF8(text.data(), text.size()); }

wxString ProgressText(std::size_t index, std::size_t total, std::string_view name) {
  wxString text = FromUtf8(window_text::kProgress);
  text.Replace("%1", wxString::Format("%zu", index + 1));
  text.Replace("%2", wxString::Format("%zu", total));
  text.Replace("%3", wxString::FromUTF8(ReadableName(name)));
  return text;
}

}  // namespace

wxString MessageCaption() { return wxTheApp != nullptr ? wxTheApp->GetAppName() : wxString("zormin"); }

MessageAnswer MessageBoxSink::ShowMessage(std::string_view text, MessageButtons buttons, MessageIcon icon) {
  long style = buttons == MessageButtons::YesNo ? wxYES_NO : wxOK;
  switch (icon) {
    case MessageIcon::Error: style |= wxICON_ERROR; break;
    case MessageIcon::Question: style |= wxICON_QUESTION; break;
    case MessageIcon::Exclamation: style |= wxICON_EXCLAMATION; break;
  }
  // A message may name the file it is about, whose name need not be UTF-8:
  // it shows the name's readable form.
  std::string shown(text);
  if (const std::size_t at = m_file.empty() ? std::string::npos : shown.find(m_file); at != std::string::npos) {
    shown.replace(at, m_file.size(), ReadableName(m_file));
  }
  wxMessageDialog box(m_owner, wxString::FromUTF8(shown), MessageCaption(), style);
  switch (box.ShowModal()) {
    case wxID_YES: return MessageAnswer::Yes;
    case wxID_NO: return MessageAnswer::No;
    default: return MessageAnswer::Ok;
  }
}

RunProgressSink::~RunProgressSink() = default;

MessageAnswer RunProgressSink::ShowMessage(std::string_view text, MessageButtons buttons, MessageIcon icon) {
  std::optional<wxBusyCursorSuspender> unbusy;
  if (m_busy) unbusy.emplace();
  return m_messages.ShowMessage(text, buttons, icon);
}

void RunProgressSink::BeginFile(std::string_view name) {
  if (name.empty()) m_progress.reset();
  m_messages.BeginFile(name);
}

bool RunProgressSink::ContinueRun(std::size_t index, std::size_t total, std::string_view name) {
  if (!m_messages.ContinueRun(index, total, name)) return false;
  if (!m_busy) m_busy.emplace();
  if (total <= kProgressFrom) return true;
  const int range = static_cast<int>(std::min<std::size_t>(total, 1'000'000'000));
  const int value = static_cast<int>(std::min<std::size_t>(index, static_cast<std::size_t>(range)));
  if (!m_progress) {
    m_progress = std::make_unique<wxProgressDialog>(MessageCaption(), ProgressText(index, total, name), range, m_owner,
                                                    wxPD_APP_MODAL | wxPD_CAN_ABORT | wxPD_AUTO_HIDE);
  }
  return m_progress->Update(value, ProgressText(index, total, name));
}

}  // namespace zormin
