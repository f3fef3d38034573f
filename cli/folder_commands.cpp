// zormin-cli list, run and names: the window's commands on a folder.

#include "cli/cli.h"

namespace zormin::cli {

int RunList(Args /*args*/) { return UsageError("list is not available yet"); }
int RunRun(Args /*args*/) { return UsageError("run is not available yet"); }
int RunNames(Args /*args*/) { return UsageError("names is not available yet"); }

}  // namespace zormin::cli
