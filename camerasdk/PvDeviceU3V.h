#pragma once
// A USB3 Vision camera reached by its Aravis device id.

#include <string>

#include "camerasdk/PvDevice.h"

class PvDeviceU3V : public PvDevice {
 public:
  PvDeviceU3V();
  ~PvDeviceU3V() override;

  PvResult Connect(const PvString& connectionId) override;
  // The device's serial number as Aravis lists it; empty while unconnected.
  PvString GetGUID() const { return PvString(guid_); }

 protected:
  PvResult GetStreamChannelCount(uint32_t& count) const override;

 private:
  std::string guid_;
};
