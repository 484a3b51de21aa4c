#pragma once
// Turns the process arguments into exactly one operation command with the options beside it.

#include <string>
#include <vector>

#include "app/genfwupdate_cmd.h"

namespace fwupdate {

class GenicamFWupdateCmdlineParser {
 public:
  // Parses the whole command line here; a failure is printed ("Error : " and the text) and kept, never thrown.
  GenicamFWupdateCmdlineParser(int argc, char** argv);

  // Throws ExceptionCmdParse with the parse error when the command line was invalid.
  GenicamFWUpdateCmd GetOperationCmd() const;
  bool IsValid() const;
  void DisplayHelp() const;

 private:
  using ArgList = std::vector<std::string>;

  bool IsValidComamnd(int argc, char** argv);

  // Each step removes from `args` what it consumes.
  void CheckHasOptionDevice(ArgList& args);
  void CheckHasOptionNoPrompt(ArgList& args);
  void CheckHasOptionNoTest(ArgList& args);
  void CheckHasOptionSilent(ArgList& args);
  void CheckHasOptionTimeoutMs(ArgList& args);
  void CheckHasOperationDeviceList(ArgList& args);
  void CheckHasOperationUpdate(ArgList& args);
  void CheckHasOperationFileInfo(ArgList& args);
  void CheckHasOperationHelp(ArgList& args);

  void CheckHasFlag(ArgList& args, const char* word, Option option);
  void CheckHasOperation(ArgList& args, const char* longWord, const char* shortWord, Operation operation,
                         const char* missingParamMessage);
  std::string GetSubArg(ArgList::const_iterator it, const std::string& message) const;
  [[noreturn]] void ThrowExceptionCmdParse(const ArgList& args, const std::string& operationWord) const;

  bool valid_ = true;
  std::string error_;
  std::string programName_;
  std::vector<GenicamFWUpdateCmd> commands_;
  OptionList options_;
};

}  // namespace fwupdate
