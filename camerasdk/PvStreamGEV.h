#pragma once
// A GigE Vision stream: received on a host UDP port from one stream channel of a connected
// camera, with the receiver thread's priority.

#include <cstdint>
#include <string>

#include "camerasdk/PvStream.h"

class PvStreamGEV : public PvStream {
 public:
  static constexpr uint32_t kDefaultBufferCount = 64;

  PvStreamGEV();
  ~PvStreamGEV() override;

  // Opens the stream of the device connected under `deviceAddress` (its IP address) on
  // `channel`. Aravis picks the receiving port and address itself: a local port other than 0,
  // or a local address other than the one that reaches the device, is NotSupported.
  // `bufferCount` is the queue's maximum (0 gives kDefaultBufferCount). Opening an open stream
  // again on the same device and channel changes nothing.
  PvResult Open(const PvString& deviceAddress, uint16_t localPort = 0, uint16_t channel = 0,
                const PvString& localIpAddress = PvString(), uint32_t bufferCount = kDefaultBufferCount);

  // Empty and 0 while closed.
  PvString GetLocalIPAddress() const { return PvString(local_address_); }
  uint16_t GetLocalPort() const { return local_port_; }
  PvString GetDeviceIPAddress() const { return PvString(device_address_); }

  uint32_t GetUserModeDataReceiverThreadPriority() const { return GetReceiverPriority(); }
  // Applied when the receiver thread starts, so refused with StateError while open.
  PvResult SetUserModeDataReceiverThreadPriority(uint32_t priority);

 private:
  std::string local_address_;
  uint16_t local_port_ = 0;
  std::string device_address_;
};
