#pragma once
// A USB3 Vision stream of a connected camera.

#include <cstdint>
#include <string>

#include "camerasdk/PvStream.h"

class PvStreamU3V : public PvStream {
 public:
  static constexpr uint32_t kDefaultBufferCount = 64;

  PvStreamU3V();
  ~PvStreamU3V() override;

  // Opens the stream of the device connected under `deviceId` (its Aravis device id).
  PvResult Open(const PvString& deviceId, uint32_t bufferCount = kDefaultBufferCount);
  // The device's serial number as Aravis lists it; empty while closed.
  PvString GetDeviceGUID() const { return PvString(guid_); }

 private:
  std::string guid_;
  std::string device_id_;
};
