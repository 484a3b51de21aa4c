#pragma once
// Tells whether an update fits a discovered camera: each condition is a whole-string regular
// expression over a feature's value, read from the discovery record or from the camera itself.

#include <cstddef>
#include <functional>
#include <memory>
#include <regex>
#include <string>

#include "core/device.h"
#include "core/found_device_info.h"
#include "core/libstatic_fwupdate/guffile_info.h"

namespace quarx::core::fwupdate {

// libstdc++'s regex matcher recurses once per character of the value (and compiling recurses
// with the pattern), so long texts would overflow the stack instead of failing cleanly.
constexpr std::size_t kMaxMatchedValueBytes = 4096;
constexpr std::size_t kMaxPatternBytes = 1024;
// The longest a single match may take. The matcher backtracks without bound and recurses per
// repetition, so it runs in a child process of its own that is killed when this is up.
constexpr int kMatchBudgetMs = 1000;

// An ECMAScript regular expression. Throws std::regex_error for a pattern that does not compile
// (including one too complex for the compiler's state limit), and for one longer than
// kMaxPatternBytes.
std::regex CompilePattern(const std::string& pattern);
// Whole-string match. A value longer than kMaxMatchedValueBytes does not match and is not
// handed to the matcher. A match that fails, overflows its stack or outlasts kMatchBudgetMs
// throws std::runtime_error; the tool itself is never taken down by it.
bool MatchWhole(const std::string& value, const std::regex& pattern);

// Compiles every pattern the update will use, its conditions (in the order they are tested) and
// then the pattern of each version-check step, and throws the first one's compile error: so a
// bad pattern is found before anything is connected or written.
void CheckPatterns(const Update& update);

// How the checker and the step executor make a device handle from a discovery record. The
// default is Device::Create; tests give their own to stand in for the camera.
using DeviceFactory = std::function<std::shared_ptr<Device>(std::unique_ptr<FoundDeviceInfo>&)>;

class UpdateChecker {
 public:
  UpdateChecker();
  explicit UpdateChecker(DeviceFactory createDevice);

  // True when every condition holds; conditions are taken in feature-name order and the first
  // that fails ends the check. A condition that cannot be evaluated (feature missing, camera
  // unreachable) is false, not an error. Throws std::regex_error for an invalid pattern.
  bool IsUpdatable(std::unique_ptr<Update>& update, std::unique_ptr<FoundDeviceInfo>& info);

 private:
  bool IsMatchFeature(const std::string& name, const std::string& pattern, std::unique_ptr<FoundDeviceInfo>& info);
  bool IsMatchFeatureUsingDiscoverdDeviceInfo(const std::string& name, const std::string& pattern,
                                              std::unique_ptr<FoundDeviceInfo>& info) const;
  // Throws FWUpdateException (detail 1) for a feature the discovery record does not carry.
  std::string GetFeatureValueFromDiscoveredDeviceInfo(const std::string& name,
                                                      std::unique_ptr<FoundDeviceInfo>& info) const;
  // Opens a connection of its own for this one condition and closes it again.
  bool IsMatchFeatureUsingConnectCamera(const std::string& name, const std::string& pattern,
                                        std::unique_ptr<FoundDeviceInfo>& info);

  DeviceFactory createDevice_;
};

}  // namespace quarx::core::fwupdate
