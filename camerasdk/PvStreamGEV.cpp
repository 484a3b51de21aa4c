// GigE Vision streams over Aravis GigE Vision streams.
#include "camerasdk/PvStreamGEV.h"

#include <arv.h>

#include "camerasdk/arv_support.h"
#include "camerasdk/gev_registers.h"
#include "camerasdk/open_devices.h"

using camerasdk_detail::Failure;
using camerasdk_detail::ResultFromError;

namespace {

using camerasdk::kRegStreamChannelCount;
using camerasdk::kRegStreamChannelDestination;
using camerasdk::kRegStreamChannelPort;

std::string AddressText(GSocketAddress* address) {
  if (address == nullptr || !G_IS_INET_SOCKET_ADDRESS(address)) {
    return std::string();
  }
  gchar* text = g_inet_address_to_string(g_inet_socket_address_get_address(G_INET_SOCKET_ADDRESS(address)));
  std::string result = camerasdk_detail::Text(text);
  g_free(text);
  return result;
}

}  // namespace

PvStreamGEV::PvStreamGEV() = default;

PvStreamGEV::~PvStreamGEV() = default;

PvResult PvStreamGEV::Open(const PvString& deviceAddress, uint16_t localPort, uint16_t channel,
                           const PvString& localIpAddress, uint32_t bufferCount) {
  const std::string address = deviceAddress.GetAscii();
  if (IsOpen()) {
    // Opening again what is open already changes nothing.
    return address == device_address_ && channel == GetChannel()
               ? PvResult()
               : Failure(PvResult::Code::STATE_ERROR, "Stream is already open on " + device_address_);
  }
  if (localPort != 0) {
    return Failure(PvResult::Code::NOT_SUPPORTED, "The receiving port is chosen by the stream; pass 0");
  }
  ArvDevice* device = camerasdk_detail::FindOpenDevice(address);
  if (device == nullptr) {
    return Failure(PvResult::Code::NOT_CONNECTED,
                   "No device is connected at " + address + "; connect it before opening its stream");
  }
  PvResult result;
  GError* error = nullptr;
  guint32 channelCount = 0;
  guint32 channelZeroPort = 0;
  guint32 channelZeroDestination = 0;
  const std::string localAddress = ARV_IS_GV_DEVICE(device)
                                       ? AddressText(arv_gv_device_get_interface_address(ARV_GV_DEVICE(device)))
                                       : std::string();
  if (!ARV_IS_GV_DEVICE(device)) {
    result = Failure(PvResult::Code::INVALID_PARAMETER, "The device at " + address + " is not a GigE Vision device");
  } else if (!std::string(localIpAddress.GetAscii()).empty() && localAddress != localIpAddress.GetAscii()) {
    result = Failure(PvResult::Code::NOT_SUPPORTED,
                     "The stream receives on " + localAddress + ", the address that reaches the device");
  } else if (!arv_device_read_register(device, kRegStreamChannelCount, &channelCount, &error)) {
    result = ResultFromError(error);
  } else if (channel >= channelCount) {
    result = Failure(PvResult::Code::INVALID_PARAMETER, "Stream channel " + std::to_string(channel) +
                                                            " does not exist; the camera has " +
                                                            std::to_string(channelCount));
  } else if (channel != 0 &&
             (!arv_device_read_register(device, kRegStreamChannelPort, &channelZeroPort, &error) ||
              !arv_device_read_register(device, kRegStreamChannelDestination, &channelZeroDestination, &error))) {
    result = ResultFromError(error);
  } else {
    result = Start(device, channel, bufferCount == 0 ? kDefaultBufferCount : bufferCount);
  }
  if (result.IsOK() && channel != 0) {
    // Aravis points stream channel 0 at every stream it makes; the caller points `channel` at
    // this one, and channel 0 keeps its own destination.
    if (arv_device_write_register(device, kRegStreamChannelDestination, channelZeroDestination, &error)) {
      arv_device_write_register(device, kRegStreamChannelPort, channelZeroPort, &error);
    }
    result = ResultFromError(error);
    if (result.IsFailure()) {
      Close();
    }
  }
  if (result.IsOK()) {
    local_address_ = localAddress;
    local_port_ = arv_gv_stream_get_port(ARV_GV_STREAM(Arv()));
    device_address_ = address;
  }
  g_object_unref(device);
  return result;
}

PvResult PvStreamGEV::SetUserModeDataReceiverThreadPriority(uint32_t priority) {
  if (IsOpen()) {
    return Failure(PvResult::Code::STATE_ERROR, "The receiver thread runs already; set its priority before Open");
  }
  SetReceiverPriority(priority);
  return PvResult();
}
