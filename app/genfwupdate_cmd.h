#pragma once
// The parsed command line: one operation, its package path and the options beside it.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// A command line that cannot be turned into one operation; also an option value that is not a number.
class ExceptionCmdParse : public std::runtime_error {
 public:
  explicit ExceptionCmdParse(const std::string& message) : std::runtime_error(message) {}
};

namespace fwupdate {

enum class Operation : std::int32_t {
  DeviceList = 0,
  FileInfo = 1,
  Update = 2,
  Help = 3,
};

// Log and LogLevel have no command-line word; they keep their numbers so the others keep theirs.
enum class Option : std::int32_t {
  Device = 0,
  Log = 1,
  LogLevel = 2,
  NoPrompt = 3,
  NoTest = 4,
  Silent = 5,
  TimeoutMs = 6,
};

using OptionList = std::vector<std::pair<Option, std::string>>;

class GenicamFWUpdateCmd {
 public:
  explicit GenicamFWUpdateCmd(Operation operation);
  GenicamFWUpdateCmd(Operation operation, std::string param);

  Operation GetOperation() const;
  // The package path of file info and update; empty for the other operations.
  std::string GetParam() const;
  // Entries in command-line order; flags carry an empty text.
  OptionList GetOptions() const;
  void SetOptions(const OptionList& options);

 private:
  Operation operation_;
  std::string param_;
  OptionList options_;
};

constexpr std::uint32_t kDefaultTimeoutMs = 1500;
// File information tests the package against every camera unless one device number is given.
constexpr std::int16_t kAllDevices = -1;
constexpr std::uint16_t kDefaultUpdateDevice = 0;

struct DeviceListSettings {
  std::uint32_t timeoutMs = kDefaultTimeoutMs;
};

struct FileInfoSettings {
  std::int16_t deviceNumber = kAllDevices;
  bool noTest = false;
  std::uint32_t timeoutMs = kDefaultTimeoutMs;
};

struct UpdateSettings {
  std::uint16_t deviceNumber = kDefaultUpdateDevice;
  std::uint32_t timeoutMs = kDefaultTimeoutMs;
  bool noPrompt = false;
  bool silent = false;
};

// The values each operation takes from the command's options. Options the operation does not use are
// ignored and the last occurrence of an option wins. A numeric text that std::stoi cannot convert throws
// ExceptionCmdParse "Invalid operation option(<label>) value(<text>)"; so do a negative discovery time
// and a device number that 16 bits cannot hold (for the update, any negative one too).
DeviceListSettings GetDeviceListSettings(const GenicamFWUpdateCmd& cmd);
FileInfoSettings GetFileInfoSettings(const GenicamFWUpdateCmd& cmd);
UpdateSettings GetUpdateSettings(const GenicamFWUpdateCmd& cmd);

}  // namespace fwupdate
