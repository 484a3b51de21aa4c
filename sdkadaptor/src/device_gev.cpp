// GigE Vision devices: connect with an access type, addresses, packet size, stream
// destination and heartbeat.
#include "sdkadaptor/src/device_gev.h"

#include <optional>

#include "camerasdk/PvDeviceGEV.h"
#include "camerasdk/PvGenFloat.h"
#include "camerasdk/PvGenInteger.h"
#include "camerasdk/PvGenParameterArray.h"
#include "sdkadaptor/src/access_type_converter.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "sdkadaptor/src/result_rule.h"
#include "util/quarxlog.h"

namespace quarx::sdkadaptor {
namespace {

constexpr CodeEnum kInternalError = 0x1000002;
constexpr int64_t kAnswerTimeoutMs = 30000;
constexpr int64_t kHeartbeatIntervalMs = 60000;

// Raises a heartbeat time-out node to its maximum; quiet unless it succeeds.
template <typename SdkNode, typename Value>
void RaiseToMaximum(PvGenParameter* parameter, const char* name) {
  auto* node = dynamic_cast<SdkNode*>(parameter);
  Value maximum{};
  Value value{};
  if (node != nullptr && node->GetMax(maximum).IsOK() && node->SetValue(maximum).IsOK() &&
      node->GetValue(value).IsOK()) {
    util::Log::GetInstance("").logger_->info("<{}> Change the {}({})", "ExtendHeartbeatTimeout", name, value);
  }
}

void SetLinkParameter(PvGenParameterArray* parameters, const char* name, int64_t wanted) {
  auto* node = dynamic_cast<PvGenInteger*>(parameters->Get(PvString(name)));
  int64_t value = 0;
  if (node != nullptr && node->SetValue(wanted).IsOK() && node->GetValue(value).IsOK()) {
    util::Log::GetInstance("").logger_->info("<{}> Change the {}({})", "ExtendHeartbeatTimeout", name, value);
  }
}

}  // namespace

DeviceGEV::DeviceGEV() : Device(new PvDeviceGEV()) {}

DeviceGEV::DeviceGEV(PvDeviceGEV* device) : Device(device) {}

PvDeviceGEV& DeviceGEV::Gev() const {
  auto* gev = dynamic_cast<PvDeviceGEV*>(device_.get());
  if (gev == nullptr) {
    throw ExceptionSdkAdaptor(kInternalError, "No SDK GigE Vision device");
  }
  return *gev;
}

void DeviceGEV::Connect(const std::string& connectionId, quarx::AccessTypeEnum access) {
  const std::optional<PvAccessType> sdkAccess = AccessTypeConverter::ConvertTo(access);
  if (!sdkAccess) {
    util::Log::GetInstance("").logger_->warn("<{}> Invalid access_type({}) using Control", "Connect",
                                             static_cast<int>(access));
  }
  const PvResult result = Gev().Connect(PvString(connectionId), sdkAccess.value_or(PvAccessControl));
  ApplyResultRule(result, "Connect", __FILE__, __LINE__);
}

quarx::DeviceInterfaceTypeEnum DeviceGEV::GetType() const { return quarx::DeviceInterfaceTypeEnum::GEV; }

std::string DeviceGEV::GetIPAddress() const {
  const auto* gev = dynamic_cast<const PvDeviceGEV*>(device_.get());
  return gev == nullptr ? std::string() : std::string(gev->GetIPAddress().GetAscii());
}

std::string DeviceGEV::GetMACAddress() const {
  const auto* gev = dynamic_cast<const PvDeviceGEV*>(device_.get());
  return gev == nullptr ? std::string() : std::string(gev->GetMACAddress().GetAscii());
}

void DeviceGEV::NegotiatePacketSize(unsigned int channel) {
  const PvResult result = Gev().NegotiatePacketSize(channel, 0);
  ApplyResultRule(result, "NegotiatePacketSize", __FILE__, __LINE__);
}

void DeviceGEV::SetStreamDestination(const std::string& ipAddress, uint16_t port, unsigned int channel) {
  const PvResult result = Gev().SetStreamDestination(PvString(ipAddress), port, channel);
  ApplyResultRule(result, "SetStreamDestination", __FILE__, __LINE__);
}

void DeviceGEV::ExtendHeartbeatTimeout() const {
  try {
    PvGenParameterArray* features = device_->GetParameters();
    if (PvGenParameter* timeout = features->Get(PvString("DeviceLinkHeartbeatTimeout"))) {
      RaiseToMaximum<PvGenFloat, double>(timeout, "DeviceLinkHeartbeatTimeout");
    } else if (PvGenParameter* gevTimeout = features->Get(PvString("GevHeartbeatTimeout"))) {
      RaiseToMaximum<PvGenInteger, int64_t>(gevTimeout, "GevHeartbeatTimeout");
    }
    PvGenParameterArray* link = device_->GetCommunicationParameters();
    SetLinkParameter(link, "AnswerTimeout", kAnswerTimeoutMs);
    SetLinkParameter(link, "HeartbeatInterval", kHeartbeatIntervalMs);
  } catch (const std::exception& e) {
    // Lengthening the supervision is a courtesy; it must never end a connection.
    LogSwallowed("ExtendHeartbeatTimeout", e.what());
  } catch (...) {
    LogSwallowed("ExtendHeartbeatTimeout", "unknown exception");
  }
}

}  // namespace quarx::sdkadaptor
