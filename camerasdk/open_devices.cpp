// The registry of connected Aravis devices.
#include "camerasdk/open_devices.h"

#include <mutex>
#include <unordered_map>

namespace camerasdk_detail {

namespace {

std::mutex& DevicesMutex() {
  static std::mutex mutex;
  return mutex;
}

struct OpenDevice {
  // Borrowed: a device leaves the registry before its last reference goes.
  ArvDevice* device;
  std::string guid;
};

std::unordered_map<std::string, OpenDevice>& Devices() {
  static std::unordered_map<std::string, OpenDevice> devices;
  return devices;
}

}  // namespace

void RegisterOpenDevice(const std::string& connectionId, ArvDevice* device, const std::string& guid) {
  std::lock_guard<std::mutex> lock(DevicesMutex());
  Devices()[connectionId] = OpenDevice{device, guid};
}

void ForgetOpenDevice(ArvDevice* device) {
  std::lock_guard<std::mutex> lock(DevicesMutex());
  for (auto it = Devices().begin(); it != Devices().end();) {
    it = it->second.device == device ? Devices().erase(it) : std::next(it);
  }
}

ArvDevice* FindOpenDevice(const std::string& connectionId) {
  std::lock_guard<std::mutex> lock(DevicesMutex());
  const auto it = Devices().find(connectionId);
  return it == Devices().end() ? nullptr : ARV_DEVICE(g_object_ref(it->second.device));
}

std::string OpenDeviceGuid(const std::string& connectionId) {
  std::lock_guard<std::mutex> lock(DevicesMutex());
  const auto it = Devices().find(connectionId);
  return it == Devices().end() ? std::string() : it->second.guid;
}

}  // namespace camerasdk_detail
