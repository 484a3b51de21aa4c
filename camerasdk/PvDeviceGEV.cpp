// GigE Vision control connections over Aravis, without discovery: the device is reached at
// its address directly.
#include "camerasdk/PvDeviceGEV.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>

#include "camerasdk/arv_support.h"
#include "camerasdk/gev_registers.h"
#include "camerasdk/open_devices.h"

using camerasdk_detail::Failure;
using camerasdk_detail::ResultFromError;

namespace {

using camerasdk::kGvcpPort;
using camerasdk::kRegControlChannelPrivilege;
using camerasdk::kRegMacHigh;
using camerasdk::kRegMacLow;
using camerasdk::kRegStreamChannelCount;
using camerasdk::kRegStreamChannelDestination;
using camerasdk::kRegStreamChannelPort;
using camerasdk::kStreamChannelStride;

constexpr guint32 kExclusiveAccess = 1;

// The host address the kernel routes to the device from; a UDP connect sends nothing.
bool LocalAddressFor(const in_addr& device, in_addr& local) {
  const int fd = socket(AF_INET, SOCK_DGRAM, 0);
  if (fd < 0) {
    return false;
  }
  sockaddr_in remote{};
  remote.sin_family = AF_INET;
  remote.sin_port = htons(kGvcpPort);
  remote.sin_addr = device;
  sockaddr_in mine{};
  socklen_t length = sizeof(mine);
  const bool ok = connect(fd, reinterpret_cast<const sockaddr*>(&remote), sizeof(remote)) == 0 &&
                  getsockname(fd, reinterpret_cast<sockaddr*>(&mine), &length) == 0;
  close(fd);
  if (ok) {
    local = mine.sin_addr;
  }
  return ok;
}

GInetAddress* ToInetAddress(const in_addr& address) {
  return g_inet_address_new_from_bytes(reinterpret_cast<const guint8*>(&address.s_addr), G_SOCKET_FAMILY_IPV4);
}

}  // namespace

PvDeviceGEV::PvDeviceGEV() : PvDevice(PvDeviceTypeGEV) {}

PvDeviceGEV::~PvDeviceGEV() = default;

PvResult PvDeviceGEV::Connect(const PvString& connectionId) { return Connect(connectionId, PvAccessControl); }

PvResult PvDeviceGEV::Connect(const PvString& connectionId, PvAccessType accessType) {
  Release();
  ip_address_.clear();
  mac_address_.clear();

  const std::string id = connectionId.GetAscii();
  in_addr deviceAddress{};
  if (inet_pton(AF_INET, id.c_str(), &deviceAddress) != 1) {
    return Failure(PvResult::Code::INVALID_PARAMETER, "Invalid connection id(" + id + "): not an IPv4 address");
  }
  if (accessType != PvAccessControl && accessType != PvAccessExclusive && accessType != PvAccessReadOnly) {
    return Failure(PvResult::Code::INVALID_PARAMETER,
                   "Invalid access type(" + std::to_string(static_cast<int>(accessType)) + ")");
  }
  in_addr localAddress{};
  if (!LocalAddressFor(deviceAddress, localAddress)) {
    return Failure(PvResult::Code::NOT_FOUND, "No route to the device at " + id);
  }

  GInetAddress* interfaceInet = ToInetAddress(localAddress);
  GInetAddress* deviceInet = ToInetAddress(deviceAddress);
  GError* error = nullptr;
  ArvDevice* device = arv_gv_device_new(interfaceInet, deviceInet, &error);
  g_object_unref(interfaceInet);
  g_object_unref(deviceInet);
  if (device == nullptr) {
    if (error == nullptr) {
      return Failure(PvResult::Code::GENERIC_ERROR, "Cannot connect to the device at " + id);
    }
    return ResultFromError(error);
  }
  if (error != nullptr) {
    g_error_free(error);
  }

  // Aravis hands back a monitor-only device when another host holds the camera.
  if (accessType != PvAccessReadOnly && !arv_gv_device_is_controller(ARV_GV_DEVICE(device))) {
    g_object_unref(device);
    return Failure(PvResult::Code::GENERIC_ERROR, "The device at " + id + " is controlled by another host");
  }
  if (accessType == PvAccessExclusive) {
    arv_device_write_register(device, kRegControlChannelPrivilege, kExclusiveAccess, &error);
  } else if (accessType == PvAccessReadOnly && arv_gv_device_is_controller(ARV_GV_DEVICE(device))) {
    // Only control of our own is given back; another host's stays untouched.
    arv_gv_device_leave_control(ARV_GV_DEVICE(device), &error);
  }
  if (error != nullptr) {
    g_object_unref(device);
    return ResultFromError(error);
  }

  guint32 macHigh = 0;
  guint32 macLow = 0;
  if (!arv_device_read_register(device, kRegMacHigh, &macHigh, &error) ||
      !arv_device_read_register(device, kRegMacLow, &macLow, &error)) {
    g_object_unref(device);
    return ResultFromError(error);
  }
  char mac[sizeof("00:00:00:00:00:00")];
  std::snprintf(mac, sizeof(mac), "%02x:%02x:%02x:%02x:%02x:%02x", (macHigh >> 8) & 0xFF, macHigh & 0xFF,
                (macLow >> 24) & 0xFF, (macLow >> 16) & 0xFF, (macLow >> 8) & 0xFF, macLow & 0xFF);
  mac_address_ = mac;
  char ip[INET_ADDRSTRLEN];
  ip_address_ = inet_ntop(AF_INET, &deviceAddress, ip, sizeof(ip)) == nullptr ? id : std::string(ip);

  Attach(device);
  // Streams are opened by the connection id and need this very Aravis device.
  camerasdk_detail::RegisterOpenDevice(id, device);
  return PvResult();
}

PvResult PvDeviceGEV::GetStreamChannelCount(uint32_t& count) const {
  if (device_ == nullptr) {
    return Failure(PvResult::Code::NOT_CONNECTED, "Device is not connected");
  }
  GError* error = nullptr;
  guint32 value = 0;
  arv_device_read_register(device_, kRegStreamChannelCount, &value, &error);
  if (error == nullptr) {
    count = value;
  }
  return ResultFromError(error);
}

PvResult PvDeviceGEV::NegotiatePacketSize(uint32_t channel, uint32_t defaultPacketSize) {
  PvResult result = CheckChannel(channel);
  if (result.IsFailure()) {
    return result;
  }
  GError* error = nullptr;
  if (arv_device_get_feature(device_, "GevStreamChannelSelector") != nullptr) {
    arv_device_set_integer_feature_value(device_, "GevStreamChannelSelector", channel, &error);
    if (error != nullptr) {
      return ResultFromError(error);
    }
  }
  arv_gv_device_auto_packet_size(ARV_GV_DEVICE(device_), &error);
  if (error != nullptr && defaultPacketSize != 0) {
    g_error_free(error);
    error = nullptr;
    arv_gv_device_set_packet_size(ARV_GV_DEVICE(device_), static_cast<gint>(defaultPacketSize), &error);
  }
  return ResultFromError(error);
}

PvResult PvDeviceGEV::SetStreamDestination(const PvString& ipAddress, uint16_t port, uint32_t channel) {
  PvResult result = CheckChannel(channel);
  if (result.IsFailure()) {
    return result;
  }
  in_addr destination{};
  if (inet_pton(AF_INET, ipAddress.GetAscii(), &destination) != 1) {
    return Failure(PvResult::Code::INVALID_PARAMETER,
                   "Invalid stream destination(" + std::string(ipAddress.GetAscii()) + ")");
  }
  const guint64 offset = kStreamChannelStride * channel;
  GError* error = nullptr;
  // Register values travel big-endian; Aravis converts from host order.
  if (arv_device_write_register(device_, kRegStreamChannelDestination + offset, ntohl(destination.s_addr), &error)) {
    arv_device_write_register(device_, kRegStreamChannelPort + offset, port, &error);
  }
  return ResultFromError(error);
}
