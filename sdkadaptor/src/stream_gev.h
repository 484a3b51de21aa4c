#pragma once
// A GigE Vision stream: opened on a stream channel, received on a host address and port by a
// thread whose priority can be set before opening.

#include <cstdint>
#include <string>

#include "sdkadaptor/src/stream.h"

class PvStreamGEV;

namespace quarx::sdkadaptor {

class InterfaceStreamGEV : public virtual InterfaceStream {
 public:
  virtual std::string GetDeviceIPAddress() const = 0;
  virtual std::string GetLocalIPAddress() const = 0;
  virtual uint16_t GetLocalPort() const = 0;
  virtual unsigned int GetUserModeDataReceiverThreadPriority() const = 0;
  virtual void SetUserModeDataReceiverThreadPriority(unsigned int priority) = 0;
  virtual void Open(uint16_t channel) = 0;

 protected:
  ~InterfaceStreamGEV() = default;
};

class StreamGEV : public Stream, public InterfaceStreamGEV {
 public:
  // A new, closed SDK stream for the device of that connection id.
  explicit StreamGEV(const std::string& connectionId);

  std::string GetDeviceIPAddress() const override;
  std::string GetLocalIPAddress() const override;
  uint16_t GetLocalPort() const override;
  unsigned int GetUserModeDataReceiverThreadPriority() const override;
  void SetUserModeDataReceiverThreadPriority(unsigned int priority) override;
  // The device must be connected in this process under the connection id.
  void Open(uint16_t channel) override;

 private:
  PvStreamGEV& Gev() const;
};

}  // namespace quarx::sdkadaptor
