#pragma once
// How the core talks to the user: a message with buttons and an icon, and the
// button that was pressed. The window shows a message box; the command line
// prints to standard error; the tests record and answer.

#include <cstddef>
#include <string_view>
#include <system_error>

namespace zormin {

enum class MessageButtons { Ok, YesNo };

// Exclamation is also the look of a message that has no icon of its own.
enum class MessageIcon { Exclamation, Error, Question };

enum class MessageAnswer { Ok, Yes, No };

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual MessageAnswer ShowMessage(std::string_view text, MessageButtons buttons,
                                    MessageIcon icon) = 0;
  // The file that the messages up to the next call are about. A message box
  // does not need it; the command line puts the name in front of each message.
  virtual void BeginFile(std::string_view /*name*/) {}
  // What lies behind the failure the next message reports: the system's
  // error, and the path of a file in the way (empty when none is). A message
  // box shows the program's text alone; the command line adds the reason.
  virtual void NoteCause(std::error_code /*error*/, std::string_view /*path*/) {}
  // A run over every listed file is about to start on file `index` (from 0)
  // of `total`, named `name`. Returning false stops the run before that file:
  // a file is never left half done. The window shows a progress dialog, the
  // command line a progress line.
  virtual bool ContinueRun(std::size_t /*index*/, std::size_t /*total*/, std::string_view /*name*/) { return true; }
};

}  // namespace zormin
