#pragma once
// The desktop's applications, asked through GIO: the defaults of the
// freedesktop.org MIME associations, started with an argument vector.

#include "app/desktop.h"

namespace zormin {

class GioDesktop : public Desktop {
 public:
  std::string HtmlProgram() override;
  bool OpenAsText(const std::string& path) override;
  bool OpenWithOwnApplication(const std::string& path) override;
  void OpenAddress(const std::string& program, std::string_view address) override;
};

}  // namespace zormin
