#pragma once
// What discovery learnt about one camera; GigE Vision and USB3 Vision records derive from it.

#include <string>

#include "camerasdk/PvInterface.h"
#include "camerasdk/PvString.h"

// The SDK's numbering of record kinds. The stand-in produces only GEV and U3V; the others exist
// because callers must be ready for them.
enum PvDeviceInfoType {
  PvDeviceInfoTypeGEV = 0,
  PvDeviceInfoTypeProprietary = 1,
  PvDeviceInfoTypeUSB = 2,
  PvDeviceInfoTypeU3V = 3,
  PvDeviceInfoTypeUnknown = -1,
};

// The texts every record carries, copied as the camera reported them (NUL padding removed).
struct PvDeviceIdentity {
  std::string connection_id;  // GigE Vision: the IP address text; USB3 Vision: the device id
  std::string display_id;
  std::string unique_id;  // GigE Vision: the MAC address text; USB3 Vision: the device id
  std::string vendor_name;
  std::string model_name;
  std::string version;  // USB3 Vision: read from the camera itself, empty when it could not be
  std::string manufacturer_info;
  std::string serial_number;
  std::string user_defined_name;  // USB3 Vision: as the version
  // USB3 Vision only: the GUID string of the camera's device-info descriptor, by which Aravis
  // opens the camera; empty when its descriptors hold none.
  std::string device_guid;
  // USB3 Vision only: the serial number of the camera's bootstrap register (0x0144) as read at
  // discovery through the device Aravis opened; empty when it could not be read.
  std::string bootstrap_serial_number;
};

class PvDeviceInfo {
 public:
  // host_interface is borrowed: it belongs to the same discovery as the record.
  PvDeviceInfo(PvDeviceInfoType type, const PvDeviceIdentity& identity, const PvInterface* host_interface);
  virtual ~PvDeviceInfo();

  PvDeviceInfoType GetType() const { return type_; }
  PvString GetConnectionID() const { return PvString(identity_.connection_id); }
  PvString GetDisplayID() const { return PvString(identity_.display_id); }
  PvString GetUniqueID() const { return PvString(identity_.unique_id); }
  PvString GetVendorName() const { return PvString(identity_.vendor_name); }
  PvString GetModelName() const { return PvString(identity_.model_name); }
  PvString GetVersion() const { return PvString(identity_.version); }
  PvString GetManufacturerInfo() const { return PvString(identity_.manufacturer_info); }
  PvString GetSerialNumber() const { return PvString(identity_.serial_number); }
  PvString GetUserDefinedName() const { return PvString(identity_.user_defined_name); }
  // The host interface the camera's answer arrived on; null when not known.
  const PvInterface* GetInterface() const { return host_interface_; }

 private:
  PvDeviceInfoType type_;
  PvDeviceIdentity identity_;
  const PvInterface* host_interface_;
};
