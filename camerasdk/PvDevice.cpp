// Control connections over Aravis devices, common to both transports.
#include "camerasdk/PvDevice.h"

#include <arpa/inet.h>

#include <limits>

#include "camerasdk/PvDeviceGEV.h"
#include "camerasdk/PvDeviceU3V.h"
#include "camerasdk/arv_support.h"
#include "camerasdk/open_devices.h"

using camerasdk_detail::Failure;
using camerasdk_detail::ResultFromError;

namespace {

// The link's own parameters. Aravis has nothing these values could drive, so they are kept
// and read back only.
constexpr char kCommunicationXml[] = R"(<?xml version="1.0" encoding="utf-8"?>
<RegisterDescription ModelName="Link" VendorName="camerasdk" StandardNameSpace="None"
    SchemaMajorVersion="1" SchemaMinorVersion="0" SchemaSubMinorVersion="1"
    MajorVersion="1" MinorVersion="0" SubMinorVersion="0" ProductGuid="0" VersionGuid="0"
    xmlns="http://www.genicam.org/GenApi/Version_1_0">
  <Category Name="Root" NameSpace="Standard">
    <pFeature>AnswerTimeout</pFeature>
    <pFeature>CommandRetryCount</pFeature>
    <pFeature>HeartbeatInterval</pFeature>
    <pFeature>HeartbeatExpirationTimeout</pFeature>
    <pFeature>DisconnectOnAnyTimeout</pFeature>
  </Category>
  <Integer Name="AnswerTimeout" NameSpace="Standard">
    <ToolTip>Time to wait for an answer to a control request, in milliseconds.</ToolTip>
    <Value>1000</Value><Min>1</Min><Max>600000</Max><Unit>ms</Unit>
  </Integer>
  <Integer Name="CommandRetryCount" NameSpace="Standard">
    <ToolTip>Retries of a control request that got no answer.</ToolTip>
    <Value>3</Value><Min>0</Min><Max>100</Max>
  </Integer>
  <Integer Name="HeartbeatInterval" NameSpace="Standard">
    <ToolTip>Interval between heartbeats, in milliseconds.</ToolTip>
    <Value>1000</Value><Min>100</Min><Max>600000</Max><Unit>ms</Unit>
  </Integer>
  <Integer Name="HeartbeatExpirationTimeout" NameSpace="Standard">
    <ToolTip>Time without heartbeat after which the link counts as lost, in milliseconds.</ToolTip>
    <Value>3000</Value><Min>500</Min><Max>600000</Max><Unit>ms</Unit>
  </Integer>
  <Boolean Name="DisconnectOnAnyTimeout" NameSpace="Standard">
    <ToolTip>Whether any unanswered request ends the connection.</ToolTip>
    <pValue>DisconnectOnAnyTimeoutValue</pValue>
  </Boolean>
  <Integer Name="DisconnectOnAnyTimeoutValue" NameSpace="Custom">
    <Visibility>Invisible</Visibility>
    <Value>0</Value><Min>0</Min><Max>1</Max>
  </Integer>
</RegisterDescription>
)";

bool IsIpv4Address(const std::string& text) {
  in_addr address{};
  return inet_pton(AF_INET, text.c_str(), &address) == 1;
}

// Success when a memory access of `length` bytes can go to the device: Aravis carries at most
// a 32-bit length, and a non-empty access needs bytes to read into or write from.
PvResult CheckMemoryAccess(const ArvDevice* device, const uint8_t* buffer, int64_t address, int64_t length) {
  if (device == nullptr) {
    return Failure(PvResult::Code::NOT_CONNECTED, "Device is not connected");
  }
  if (address < 0 || length < 0 || length > std::numeric_limits<guint32>::max() || (length > 0 && buffer == nullptr)) {
    return Failure(PvResult::Code::INVALID_PARAMETER, "Invalid memory range");
  }
  return PvResult();
}

}  // namespace

PvDevice::PvDevice(PvDeviceType type) : type_(type) { communication_.BindDocument(kCommunicationXml); }

PvDevice::~PvDevice() { Release(); }

PvDevice* PvDevice::CreateAndConnect(const PvString& connectionId, PvResult* result) {
  std::unique_ptr<PvDevice> device;
  if (IsIpv4Address(connectionId.GetAscii())) {
    device = std::make_unique<PvDeviceGEV>();
  } else {
    device = std::make_unique<PvDeviceU3V>();
  }
  PvResult connected = device->Connect(connectionId);
  if (result != nullptr) {
    *result = connected;
  }
  return connected.IsOK() ? device.release() : nullptr;
}

void PvDevice::Attach(ArvDevice* device) {
  device_ = device;
  // Both are off by default, and then a read-only feature is written without complaint.
  arv_device_set_access_check_policy(device_, ARV_ACCESS_CHECK_POLICY_ENABLE);
  arv_device_set_range_check_policy(device_, ARV_RANGE_CHECK_POLICY_ENABLE);
  // Completion of commands is read from their registers; a cache would hide it.
  arv_device_set_register_cache_policy(device_, ARV_REGISTER_CACHE_POLICY_DISABLE);
  control_lost_handler_ = g_signal_connect(device_, "control-lost", G_CALLBACK(&PvDevice::OnControlLost), this);
  parameters_.Bind(arv_device_get_genicam(device_));
  connected_.store(true);
}

void PvDevice::Release() {
  connected_.store(false);
  parameters_.Unbind();
  if (device_ == nullptr) {
    return;
  }
  camerasdk_detail::ForgetOpenDevice(device_);
  if (control_lost_handler_ != 0) {
    g_signal_handler_disconnect(device_, control_lost_handler_);
    control_lost_handler_ = 0;
  }
  // The last reference stops the heartbeat and gives control back.
  g_object_unref(device_);
  device_ = nullptr;
}

void PvDevice::OnControlLost(ArvDevice* /*device*/, void* self) {
  // Runs on Aravis's heartbeat thread.
  static_cast<PvDevice*>(self)->connected_.store(false);
}

PvResult PvDevice::Disconnect() {
  if (device_ == nullptr) {
    return Failure(PvResult::Code::NOT_CONNECTED, "Device is not connected");
  }
  Release();
  return PvResult();
}

uint32_t PvDevice::GetPayloadSize() const {
  if (device_ == nullptr) {
    return 0;
  }
  GError* error = nullptr;
  const gint64 size = arv_device_get_integer_feature_value(device_, "PayloadSize", &error);
  if (error != nullptr) {
    g_error_free(error);
    return 0;
  }
  return size < 0 || size > std::numeric_limits<uint32_t>::max() ? 0 : static_cast<uint32_t>(size);
}

PvResult PvDevice::CheckChannel(uint32_t channel) const {
  if (device_ == nullptr) {
    return Failure(PvResult::Code::NOT_CONNECTED, "Device is not connected");
  }
  uint32_t count = 0;
  PvResult result = GetStreamChannelCount(count);
  if (result.IsOK() && channel >= count) {
    result = Failure(PvResult::Code::INVALID_PARAMETER, "Stream channel " + std::to_string(channel) +
                                                            " does not exist; the camera has " + std::to_string(count));
  }
  return result;
}

PvResult PvDevice::SetStreamParametersLocked(bool locked) {
  // Cameras without the lock need nothing done before streaming.
  ArvGcNode* node = arv_device_get_feature(device_, "TLParamsLocked");
  if (node == nullptr) {
    return PvResult();
  }
  GError* error = nullptr;
  arv_device_set_integer_feature_value(device_, "TLParamsLocked", locked ? 1 : 0, &error);
  return ResultFromError(error);
}

PvResult PvDevice::StreamEnable(uint32_t channel) {
  PvResult result = CheckChannel(channel);
  return result.IsOK() ? SetStreamParametersLocked(true) : result;
}

PvResult PvDevice::StreamDisable(uint32_t channel) {
  PvResult result = CheckChannel(channel);
  return result.IsOK() ? SetStreamParametersLocked(false) : result;
}

PvResult PvDevice::ReadMemory(uint8_t* buffer, int64_t address, int64_t length) {
  const PvResult checked = CheckMemoryAccess(device_, buffer, address, length);
  if (checked.IsFailure() || length == 0) {
    return checked;
  }
  GError* error = nullptr;
  arv_device_read_memory(device_, static_cast<guint64>(address), static_cast<guint32>(length), buffer, &error);
  return ResultFromError(error);
}

PvResult PvDevice::WriteMemory(const uint8_t* buffer, int64_t address, int64_t length) {
  const PvResult checked = CheckMemoryAccess(device_, buffer, address, length);
  if (checked.IsFailure() || length == 0) {
    return checked;
  }
  GError* error = nullptr;
  // Aravis takes a non-const pointer but only reads from it.
  arv_device_write_memory(device_, static_cast<guint64>(address), static_cast<guint32>(length),
                          const_cast<uint8_t*>(buffer), &error);
  return ResultFromError(error);
}

PvResult PvDevice::SetHeartbeatThreadPriority(uint32_t priority) {
  heartbeat_priority_ = priority;
  return PvResult();
}

PvResult PvDevice::SetInterruptLinkThreadPriority(uint32_t priority) {
  interrupt_link_priority_ = priority;
  return PvResult();
}

PvResult PvDevice::SetInterruptQueueThreadPriority(uint32_t priority) {
  interrupt_queue_priority_ = priority;
  return PvResult();
}
