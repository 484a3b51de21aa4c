#pragma once
// A USB3 Vision camera reached by its Aravis device id.

#include <memory>
#include <string>

#include "camerasdk/PvDevice.h"
#include "camerasdk/PvDeviceInfo.h"

namespace camerasdk {
class UsbCameraBus;
}

class PvDeviceU3V : public PvDevice {
 public:
  // Reaches cameras through Aravis's USB interface.
  PvDeviceU3V();
  // Reaches cameras through `usb`: each connection lists, chooses and opens through it.
  explicit PvDeviceU3V(std::unique_ptr<camerasdk::UsbCameraBus> usb);
  ~PvDeviceU3V() override;

  PvResult Connect(const PvString& connectionId) override;
  // The GUID and the serial number of the listing entry the connection resolved (the USB
  // descriptors, as discovery reads them); empty until a connection is made.
  PvString GetGUID() const { return PvString(listed_.device_guid); }
  PvString GetSerialNumber() const { return PvString(listed_.serial_number); }

 protected:
  PvResult GetStreamChannelCount(uint32_t& count) const override;

 private:
  std::unique_ptr<camerasdk::UsbCameraBus> usb_;
  PvDeviceIdentity listed_;
};
