#include "app/list_box_file_list.h"

#include "app/legacy_text.h"
#include "app/window_layout.h"

namespace zormin {

void ListBoxFileList::Clear() {
  if (!m_box->IsEmpty()) {
    DetachedRows detached(m_box);
    m_box->Clear();
  }
  m_names.clear();
  m_pending.clear();
}

void ListBoxFileList::Add(std::string name) {
  m_pending.push_back(wxString::FromUTF8(ReadableName(name)));
  m_names.push_back(std::move(name));
}

void ListBoxFileList::Flush() {
  if (m_pending.empty()) return;
  DetachedRows detached(m_box);
  m_box->Append(m_pending);
  m_pending.clear();
}

std::string ListBoxFileList::Text(std::size_t index) const {
  return index < m_names.size() ? m_names[index] : std::string();
}

long ListBoxFileList::Selected() const {
  // Nothing pending is ever selected: Select flushes first.
  const int selection = m_box->GetSelection();
  return selection == wxNOT_FOUND ? -1 : selection;
}

void ListBoxFileList::Select(long index) {
  Flush();
  if (index >= 0 && static_cast<std::size_t>(index) < m_names.size()) {
    m_box->SetSelection(static_cast<int>(index));
  } else {
    m_box->SetSelection(wxNOT_FOUND);
  }
}

}  // namespace zormin
