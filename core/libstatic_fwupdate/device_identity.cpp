// The identity of a connected camera, read where discovery read it and the same way: a GigE
// Vision camera's MAC address and serial number from the bootstrap registers that its discovery
// answer mirrors, a USB3 Vision camera's serial number and GUID from the USB listing entry that
// its connection resolved and its serial number from the bootstrap register that discovery read
// through the device it opened. A feature such as "DeviceSerialNumber" is never compared: a
// maker may map it to another register or another form of the serial, and such a camera would
// be refused for ever.
#include "core/libstatic_fwupdate/device_identity.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "core/device_gev.h"
#include "core/device_u3v.h"
#include "core/found_device_info_gev.h"
#include "core/found_device_info_u3v.h"
#include "util/quarxlog.h"

namespace quarx::core::fwupdate {
namespace {

constexpr const char* kUnreadable = "(unreadable)";

// One field of the identity: what discovery reported, what the connected camera gives, both as
// the message shows them.
struct Field {
  std::string label;
  std::string expected;
  std::string found;
  bool same;
};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// A field that cannot be read cannot be confirmed either.
Field Compare(const std::string& label, const std::string& expected, const std::function<std::string()>& read,
              bool ignoreCase = false) {
  try {
    const std::string found = read();
    return {label, expected, found, ignoreCase ? Lower(found) == Lower(expected) : found == expected};
  } catch (const std::exception& e) {
    util::Log::GetInstance("").logger_->error("Cannot read the {} of the connected camera: {}",
                                              label.empty() ? "MAC address" : label, e.what());
    return {label, expected, kUnreadable, false};
  }
}

std::string Describe(const std::vector<Field>& fields, std::string Field::*side) {
  std::vector<std::string> parts;
  for (const Field& field : fields) {
    parts.push_back(field.label.empty() ? field.*side : field.label + " " + field.*side);
  }
  return fmt::format("{}", fmt::join(parts, " "));
}

std::vector<Field> ReadIdentity(Device& device, FoundDeviceInfo& target) {
  std::vector<Field> fields;
  if (auto* gev = dynamic_cast<DeviceGEV*>(&device)) {
    if (const auto* gevTarget = dynamic_cast<const FoundDeviceInfoGEV*>(&target)) {
      fields.push_back(Compare("", gevTarget->GetMACAddress(), [gev] { return gev->GetMACAddress(); }, true));
    }
    // The serial number register is optional in GigE Vision: a camera whose discovery answer
    // carried none is known by its MAC address alone.
    if (!target.GetSerialNumber().empty() || fields.empty()) {
      fields.push_back(Compare("serial number", target.GetSerialNumber(), [gev] { return gev->GetSerialNumber(); }));
    }
  } else if (auto* u3v = dynamic_cast<DeviceU3V*>(&device)) {
    // The listing entry tells which camera the connection id stood for; the register read
    // through the device Aravis opened tells which camera answered.
    fields.push_back(Compare("serial number", target.GetSerialNumber(), [u3v] { return u3v->GetSerialNumber(); }));
    const auto* u3vTarget = dynamic_cast<const FoundDeviceInfoU3V*>(&target);
    fields.push_back(Compare("GUID", u3vTarget != nullptr ? u3vTarget->GetDeviceGUID() : std::string(),
                             [u3v] { return u3v->GetUUID(); }));
    // A camera that did not give its register at discovery is known by its listing alone.
    if (u3vTarget != nullptr && !u3vTarget->GetBootstrapSerialNumber().empty()) {
      fields.push_back(Compare("bootstrap serial number", u3vTarget->GetBootstrapSerialNumber(),
                               [u3v] { return u3v->GetBootstrapSerialNumber(); }));
    }
  } else {
    fields.push_back({"serial number", target.GetSerialNumber(), kUnreadable, false});
  }
  return fields;
}

}  // namespace

void ConfirmDeviceIdentity(Device& device, FoundDeviceInfo& target) {
  const std::vector<Field> fields = ReadIdentity(device, target);
  if (std::all_of(fields.begin(), fields.end(), [](const Field& field) { return field.same; })) {
    return;
  }
  throw DeviceIdentityMismatch(fmt::format("Connected device is not the target : expected {}, found {}",
                                           Describe(fields, &Field::expected), Describe(fields, &Field::found)));
}

}  // namespace quarx::core::fwupdate
