#pragma once
// Tells whether an update fits a discovered camera: each condition is a whole-string regular
// expression over a feature's value, read from the discovery record or from the camera itself.

#include <memory>
#include <string>

#include "core/found_device_info.h"
#include "core/libstatic_fwupdate/device_factory.h"
#include "core/libstatic_fwupdate/guffile_info.h"

namespace quarx::core::fwupdate {

// Compiles every pattern the update will use, its conditions (in the order they are tested) and
// then the pattern of each version-check step, and throws the first one's compile error: so a
// bad pattern is found before anything is connected or written.
void CheckPatterns(const Update& update);

class UpdateChecker {
 public:
  UpdateChecker();
  explicit UpdateChecker(DeviceFactory createDevice);

  // True when every condition holds; conditions are taken in feature-name order and the first
  // that fails ends the check. A condition that cannot be evaluated (feature missing, camera
  // unreachable, a match that fails) is false, not an error. Throws std::regex_error for an
  // invalid pattern, PatternMatcherError when a match could not be run at all, and
  // DeviceIdentityMismatch when the camera connected to read a feature is not the record's.
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
