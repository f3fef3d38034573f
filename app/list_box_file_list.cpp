#include "app/list_box_file_list.h"

#include "app/legacy_text.h"

namespace zormin {

void ListBoxFileList::Clear() {
  m_box->Clear();
  m_names.clear();
}

void ListBoxFileList::Add(std::string name) {
  m_box->Append(wxString::FromUTF8(ReadableName(name)));
  m_names.push_back(std::move(name));
}

std::string ListBoxFileList::Text(std::size_t index) const {
  return index < m_names.size() ? m_names[index] : std::string();
}

long ListBoxFileList::Selected() const {
  const int selection = m_box->GetSelection();
  return selection == wxNOT_FOUND ? -1 : selection;
}

void ListBoxFileList::Select(long index) {
  if (index >= 0 && static_cast<std::size_t>(index) < m_names.size()) {
    m_box->SetSelection(static_cast<int>(index));
  } else {
    m_box->SetSelection(wxNOT_FOUND);
  }
}

}  // namespace zormin
