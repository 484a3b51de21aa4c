#pragma once
// A USB3 Vision camera as the USB listing described it.

#include <string>

#include "camerasdk/PvDeviceInfo.h"

class PvDeviceInfoU3V : public PvDeviceInfo {
 public:
  // device_guid is the GUID string the USB listing reports (identity.device_guid in discovery).
  PvDeviceInfoU3V(const PvDeviceIdentity& identity, const std::string& device_guid,
                  const PvInterface* host_interface);

  PvString GetDeviceGUID() const { return PvString(device_guid_); }
  PvString GetBootstrapSerialNumber() const { return PvString(bootstrap_serial_number_); }

 private:
  std::string device_guid_;
  std::string bootstrap_serial_number_;
};
