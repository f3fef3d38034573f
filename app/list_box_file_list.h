#pragma once
// The file list over the window's list box. The box shows each name in a
// readable form; the names themselves stay bytes, beside it, at the index the
// core knows them by. The box does not sort: the core does.

#include <wx/arrstr.h>
#include <wx/listbox.h>

#include <string>
#include <vector>

#include "folder/file_list.h"

namespace zormin {

// Entries are handed to the box in one go, which is much faster for a long
// list than one at a time: when the list is next selected from, or at Flush.
class ListBoxFileList : public FileList {
 public:
  explicit ListBoxFileList(wxListBox* box) : m_box(box) {}

  // Shows the entries added since the last time.
  void Flush();

  void Clear() override;
  void Add(std::string name) override;
  std::size_t Count() const override { return m_names.size(); }
  std::string Text(std::size_t index) const override;
  long Selected() const override;
  void Select(long index) override;

 private:
  wxListBox* m_box;
  std::vector<std::string> m_names;
  wxArrayString m_pending;  // readable forms not yet in the box
};

}  // namespace zormin
