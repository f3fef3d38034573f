#pragma once
// What the window asks of the desktop: which program opens web pages, and
// starting programs on a file or an address. Every program gets its
// arguments as a vector, never through a shell.

#include <string>
#include <string_view>

namespace zormin {

class Desktop {
 public:
  virtual ~Desktop() = default;
  // The full path of the program that opens HTML files, or empty.
  virtual std::string HtmlProgram() = 0;
  // Opens `path` (bytes) in the application for plain text, whatever the
  // file's type. False when there is none or it could not be started.
  virtual bool OpenAsText(const std::string& path) = 0;
  // Opens `path` (bytes) in the application for its own type.
  virtual bool OpenWithOwnApplication(const std::string& path) = 0;
  // Starts `program` on `address`, or, with no program, the default browser.
  // Nothing is reported either way.
  virtual void OpenAddress(const std::string& program, std::string_view address) = 0;
};

}  // namespace zormin
