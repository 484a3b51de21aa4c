// A USB3 Vision discovery record.
#include "camerasdk/PvDeviceInfoU3V.h"

PvDeviceInfoU3V::PvDeviceInfoU3V(const PvDeviceIdentity& identity, const std::string& device_guid,
                                 const PvInterface* host_interface)
    : PvDeviceInfo(PvDeviceInfoTypeU3V, identity, host_interface), device_guid_(device_guid),
      bootstrap_serial_number_(identity.bootstrap_serial_number) {}
