#pragma once
// The file list over the window's list box. The box shows each name in a
// readable form; the names themselves stay bytes, beside it, at the index the
// core knows them by. The box does not sort: the core does.

#include <wx/listbox.h>

#include <string>
#include <vector>

#include "folder/file_list.h"

namespace zormin {

class ListBoxFileList : public FileList {
 public:
  explicit ListBoxFileList(wxListBox* box) : m_box(box) {}

  void Clear() override;
  void Add(std::string name) override;
  std::size_t Count() const override { return m_names.size(); }
  std::string Text(std::size_t index) const override;
  long Selected() const override;
  void Select(long index) override;

 private:
  wxListBox* m_box;
  std::vector<std::string> m_names;
};

}  // namespace zormin
