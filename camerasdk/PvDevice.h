#pragma once
// A camera's control connection: connect and disconnect, its feature node map and the link's
// own parameters, payload size, stream channels, raw memory and the SDK threads' priorities.

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "camerasdk/PvGenParameterArray.h"
#include "camerasdk/PvGenTypes.h"
#include "camerasdk/PvResult.h"
#include "camerasdk/PvString.h"

typedef struct _ArvDevice ArvDevice;

class PvDevice {
 public:
  virtual ~PvDevice();
  PvDevice(const PvDevice&) = delete;
  PvDevice& operator=(const PvDevice&) = delete;

  // A new connected device of the id's transport (an IPv4 address is GigE Vision, anything
  // else a USB3 Vision device id), owned by the caller; null with the failure in `result`.
  static PvDevice* CreateAndConnect(const PvString& connectionId, PvResult* result);

  virtual PvResult Connect(const PvString& connectionId) = 0;
  // Gives control back and releases the connection.
  PvResult Disconnect();
  // False once disconnected, and as soon as the link reports control lost.
  bool IsConnected() const { return connected_.load(); }
  PvDeviceType GetType() const { return type_; }

  // Both maps live as long as the device; the feature map is empty while unconnected.
  PvGenParameterArray* GetParameters() { return &parameters_; }
  PvGenParameterArray* GetCommunicationParameters() { return &communication_; }

  // 0 when unconnected or when the camera has no readable "PayloadSize".
  uint32_t GetPayloadSize() const;
  PvResult StreamEnable(uint32_t channel = 0);
  PvResult StreamDisable(uint32_t channel = 0);
  PvResult ReadMemory(uint8_t* buffer, int64_t address, int64_t length);
  PvResult WriteMemory(const uint8_t* buffer, int64_t address, int64_t length);

  // The link's threads are inside Aravis; the priorities are kept and read back.
  uint32_t GetHeartbeatThreadPriority() const { return heartbeat_priority_; }
  uint32_t GetInterruptLinkThreadPriority() const { return interrupt_link_priority_; }
  uint32_t GetInterruptQueueThreadPriority() const { return interrupt_queue_priority_; }
  PvResult SetHeartbeatThreadPriority(uint32_t priority);
  PvResult SetInterruptLinkThreadPriority(uint32_t priority);
  PvResult SetInterruptQueueThreadPriority(uint32_t priority);

 protected:
  explicit PvDevice(PvDeviceType type);

  // Takes over a freshly connected Aravis device: checks on, node map bound, control-lost watched.
  void Attach(ArvDevice* device);
  // Releases the Aravis device, if any.
  void Release();
  // Stream channels the camera offers; a channel at or past this count does not exist.
  virtual PvResult GetStreamChannelCount(uint32_t& count) const = 0;
  PvResult CheckChannel(uint32_t channel) const;

  ArvDevice* device_ = nullptr;

 private:
  static void OnControlLost(ArvDevice* device, void* self);
  PvResult SetStreamParametersLocked(bool locked);

  PvDeviceType type_;
  std::atomic<bool> connected_{false};
  unsigned long control_lost_handler_ = 0;
  PvGenParameterArray parameters_;
  PvGenParameterArray communication_;
  uint32_t heartbeat_priority_ = 0;
  uint32_t interrupt_link_priority_ = 0;
  uint32_t interrupt_queue_priority_ = 0;
};
