// The command-line parser: options are taken out first, wherever they stand, then the one operation.
#include "app/genfwupdate_cmdline_parser.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

#include <fmt/format.h>

#include "util/printable_text.h"

namespace fwupdate {
namespace {

constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 1;
constexpr int kVersionPatch = 4;

// Used in the help text when the process was started without a program name.
constexpr const char* kDefaultProgramName = "fwupdate";

constexpr const char* kDeviceMissingValue = "The device option must set devNo.";
constexpr const char* kTimeoutMissingValue = "The timeout option must set millisec.";
constexpr const char* kUpdateMissingFile = "The update operation must set guf filename.";
constexpr const char* kFileInfoMissingFile = "The file info operation must set guf filename.";

// "<prefix> a, b, c": every argument followed by a comma, the last comma dropped.
std::string ListArguments(const std::string& prefix, const std::vector<std::string>& args) {
  std::string message = prefix;
  for (const auto& arg : args) {
    message += fmt::format(" {},", arg);
  }
  if (!args.empty()) {
    message.pop_back();
  }
  return message;
}

}  // namespace

GenicamFWupdateCmdlineParser::GenicamFWupdateCmdlineParser(int argc, char** argv) {
  valid_ = true;
  // Linux hands a process started with an empty argument vector one empty argument instead.
  const bool hasProgramName = argc >= 1 && argv != nullptr && argv[0] != nullptr && argv[0][0] != '\0';
  programName_ = hasProgramName ? argv[0] : kDefaultProgramName;
  valid_ = IsValidComamnd(argc, argv);
}

GenicamFWUpdateCmd GenicamFWupdateCmdlineParser::GetOperationCmd() const {
  if (!valid_) {
    throw ExceptionCmdParse(error_);
  }
  return commands_.front();
}

bool GenicamFWupdateCmdlineParser::IsValid() const { return valid_; }

bool GenicamFWupdateCmdlineParser::IsValidComamnd(int argc, char** argv) {
  commands_.clear();
  if (argc <= 1) {
    commands_.emplace_back(Operation::Help);
    return true;
  }
  ArgList given;
  ArgList args;
  try {
    given.assign(argv + 1, argv + argc);
    args = given;
    CheckHasOptionDevice(args);
    CheckHasOptionNoPrompt(args);
    CheckHasOptionNoTest(args);
    CheckHasOptionSilent(args);
    CheckHasOptionTimeoutMs(args);
    CheckHasOperationDeviceList(args);
    CheckHasOperationUpdate(args);
    CheckHasOperationFileInfo(args);
    CheckHasOperationHelp(args);
  } catch (const std::exception& e) {
    error_ = e.what();
    try {
      // The error quotes arguments as given: a file name with a line feed or an escape sequence.
      fmt::print("Error : {}", quarx::util::PrintableText(error_));
    } catch (const std::exception&) {
      // The error is kept; the caller reports it again.
    }
    return false;
  }
  if (!commands_.empty()) {
    return true;
  }
  // Options alone name no operation: report every argument, since none is left over.
  error_ = ListArguments("Invalid arguments:", args.empty() ? given : args);
  return false;
}

void GenicamFWupdateCmdlineParser::CheckHasOptionDevice(ArgList& args) {
  for (auto it = args.begin(); it != args.end();) {
    if (*it != "--device" && *it != "-d") {
      ++it;
      continue;
    }
    const auto value = std::next(it);
    if (value == args.end()) {
      throw ExceptionCmdParse(kDeviceMissingValue);
    }
    // Left as text: the operation converts it, so the parser accepts any device number.
    options_.emplace_back(Option::Device, GetSubArg(value, kDeviceMissingValue));
    it = args.erase(it, std::next(value));
  }
}

void GenicamFWupdateCmdlineParser::CheckHasOptionNoPrompt(ArgList& args) {
  CheckHasFlag(args, "--no-prompt", Option::NoPrompt);
}

void GenicamFWupdateCmdlineParser::CheckHasOptionNoTest(ArgList& args) {
  CheckHasFlag(args, "--no-test", Option::NoTest);
}

void GenicamFWupdateCmdlineParser::CheckHasOptionSilent(ArgList& args) {
  CheckHasFlag(args, "--silent", Option::Silent);
}

void GenicamFWupdateCmdlineParser::CheckHasOptionTimeoutMs(ArgList& args) {
  for (auto it = args.begin(); it != args.end();) {
    if (*it != "--timeout") {
      ++it;
      continue;
    }
    const auto value = std::next(it);
    if (value == args.end()) {
      throw ExceptionCmdParse(kTimeoutMissingValue);
    }
    // Only a text without any digits to convert is refused here; an out-of-range number lets
    // std::out_of_range ("stoi") through, and a converted sign is caught by GetSubArg below.
    try {
      static_cast<void>(std::stoi(*value));
    } catch (const std::invalid_argument&) {
      throw ExceptionCmdParse(fmt::format("Invalid timeout value: {}", *value));
    }
    options_.emplace_back(Option::TimeoutMs, GetSubArg(value, kTimeoutMissingValue));
    it = args.erase(it, std::next(value));
  }
}

void GenicamFWupdateCmdlineParser::CheckHasOperationDeviceList(ArgList& args) {
  CheckHasOperation(args, "--device-list", "-l", Operation::DeviceList, nullptr);
}

void GenicamFWupdateCmdlineParser::CheckHasOperationUpdate(ArgList& args) {
  CheckHasOperation(args, "--update", "-u", Operation::Update, kUpdateMissingFile);
}

void GenicamFWupdateCmdlineParser::CheckHasOperationFileInfo(ArgList& args) {
  CheckHasOperation(args, "--file-info", "-f", Operation::FileInfo, kFileInfoMissingFile);
}

void GenicamFWupdateCmdlineParser::CheckHasOperationHelp(ArgList& args) {
  CheckHasOperation(args, "--help", "-h", Operation::Help, nullptr);
}

void GenicamFWupdateCmdlineParser::CheckHasFlag(ArgList& args, const char* word, Option option) {
  for (auto it = args.begin(); it != args.end();) {
    if (*it == word) {
      options_.emplace_back(option, "");
      it = args.erase(it);
    } else {
      ++it;
    }
  }
}

// Only the first operation found is taken; anything still on the line then is an error naming it.
void GenicamFWupdateCmdlineParser::CheckHasOperation(ArgList& args, const char* longWord, const char* shortWord,
                                                     Operation operation, const char* missingParamMessage) {
  if (commands_.empty()) {
    auto it = std::find_if(args.begin(), args.end(),
                           [&](const std::string& arg) { return arg == longWord || arg == shortWord; });
    if (it != args.end()) {
      it = args.erase(it);
      GenicamFWUpdateCmd cmd(operation);
      if (missingParamMessage != nullptr) {
        if (it == args.end()) {
          throw std::runtime_error(missingParamMessage);
        }
        cmd = GenicamFWUpdateCmd(operation, GetSubArg(it, missingParamMessage));
        args.erase(it);
      }
      cmd.SetOptions(options_);
      commands_.push_back(cmd);
    }
  }
  if (!commands_.empty() && !args.empty()) {
    ThrowExceptionCmdParse(args, longWord);
  }
}

std::string GenicamFWupdateCmdlineParser::GetSubArg(ArgList::const_iterator it, const std::string& message) const {
  if (!it->empty() && it->front() == '-') {
    throw ExceptionCmdParse(message);
  }
  return *it;
}

void GenicamFWupdateCmdlineParser::ThrowExceptionCmdParse(const ArgList& args, const std::string& operationWord) const {
  throw ExceptionCmdParse(ListArguments(fmt::format("Operation({}) Invalid argument:", operationWord), args));
}

void GenicamFWupdateCmdlineParser::DisplayHelp() const {
  fmt::print("Version: {}.{}.{}\n", kVersionMajor, kVersionMinor, kVersionPatch);
  fmt::print("Usage: {} 'operation' [options] [args..]\n", quarx::util::PrintableText(programName_));
  fmt::print("\nAvailable operation:\n");
  fmt::print("\n{:16s}{:5s}\n", "--device-list,", "-l");
  fmt::print("{:4s}=>show device informations.\n", "");
  fmt::print("\n{:16s}{:5s}{:20s}\n", "--file-info,", "-f", "'update_file'");
  fmt::print("{:4s}=> show update file informations and matching test with devices\n", "");
  fmt::print("{:6s}options:\n", "");
  fmt::print("{:8s}{:14s}{:4s}{:10s}target device to matching test\n", "", "--device,", "-d", "<devNo>");
  fmt::print("\n{:16s}{:5s}{:20s}\n", "--update,", "-u", "'update_file'");
  fmt::print("{:4s}=> execute update with <update_file>\n", "");
  fmt::print("{:6s}options:\n", "");
  fmt::print("{:8s}{:14s}{:4s}{:10s}target device\n", "", "--device,", "-d", "<devNo>");
  fmt::print("{:8s}{:14s}{:14s}do not ask for confirmation\n", "", "--no-prompt,", "");
  fmt::print("\n{:16s}{:3s}\n", "--help", "-h");
  fmt::print("{:4s}=> show this message\n", "");
}

}  // namespace fwupdate
