#pragma once
// The help text as users see it, byte for byte, for a given program name.

#include <string>

namespace fwupdate::test {

inline std::string ExpectedHelp(const std::string& programName) {
  return "Version: 1.1.4\n"
         "Usage: " +
         programName +
         " 'operation' [options] [args..]\n"
         "\n"
         "Available operation:\n"
         "\n"
         "--device-list,  -l   \n"
         "    =>show device informations.\n"
         "\n"
         "--file-info,    -f   'update_file'       \n"
         "    => show update file informations and matching test with devices\n"
         "      options:\n"
         "        --device,     -d  <devNo>   target device to matching test\n"
         "\n"
         "--update,       -u   'update_file'       \n"
         "    => execute update with <update_file>\n"
         "      options:\n"
         "        --device,     -d  <devNo>   target device\n"
         "        --no-prompt,                do not ask for confirmation\n"
         "\n"
         "--help          -h \n"
         "    => show this message\n";
}

}  // namespace fwupdate::test
