#pragma once
// Whether the camera connected is the camera that was discovered, checked and confirmed: an
// address names whoever holds it when the connection is made.

#include <stdexcept>

#include "core/device.h"
#include "core/found_device_info.h"

namespace quarx::core::fwupdate {

// Another camera holds the target's address (a spare given the same persistent address, two
// cameras whose addresses changed while the user was asked): nothing read from it tells about
// the target, and nothing may be written to it. An error of the command, never a mismatch.
class DeviceIdentityMismatch : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws DeviceIdentityMismatch unless the connected `device` carries the target's identity as
// discovery read it: over GigE Vision its MAC address and, when the discovery answer carried
// one, its serial number, both from the bootstrap registers; over USB3 Vision the serial number
// and GUID of the USB listing entry the connection resolved and, when discovery read one, the
// serial number of the bootstrap register read through the opened device. A field that cannot
// be read is not confirmed either.
void ConfirmDeviceIdentity(Device& device, FoundDeviceInfo& target);

}  // namespace quarx::core::fwupdate
