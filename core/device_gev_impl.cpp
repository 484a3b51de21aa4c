// Connecting a GigE Vision camera: control channel, maker check, image sources, packet sizes.
#include "core/device_gev_impl.h"

#include <algorithm>
#include <cctype>
#include <exception>

#include "core/exception_connect_impl.h"
#include "core/exception_core_impl.h"
#include "core/exception_stream_impl.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "util/quarxlog.h"

namespace quarx::core {

namespace {

// MAC address prefix of the camera maker, as the vendor check compares it.
const char* const kVelmoraMacPrefix = "02:5e:c1";
// Characters of "xx:xx:xx" that the vendor check compares.
constexpr std::size_t kMacPrefixLength = 8;
// Stream channels a GigE Vision camera can have at most; a "SourceCount" beyond it is a
// misread, not a camera, and would mean billions of negotiations.
constexpr int64_t kMaxSourceCount = 64;

spdlog::logger& Log() { return *util::Log::GetInstance("").logger_; }

}  // namespace

DeviceGEVImpl::DeviceGEVImpl(const std::string& connectionId)
    : DeviceGEVImpl(connectionId, std::make_unique<sdkadaptor::DeviceGEV>()) {}

DeviceGEVImpl::DeviceGEVImpl(const std::string& connectionId, std::unique_ptr<sdkadaptor::InterfaceDeviceGEV> device)
    : DeviceImpl(connectionId, device.get()), gev_(device.release()) {
  vendor_mac_prefixes_.push_back(kVelmoraMacPrefix);
}

DeviceGEVImpl::~DeviceGEVImpl() {
  // The selector borrows a node of the device's node map: it goes before the device.
  source_selector_.reset();
}

void DeviceGEVImpl::Connect(quarx::AccessTypeEnum access) {
  try {
    Log().debug("<{}>", "Connect");
    gev_->Connect(connection_id_, access);
    Log().debug("<{}>", "Connect");

    if (!IsVelmoraDevice()) {
      // The refusal is the news; a failed disconnect is left to the destructor's retry.
      try {
        gev_->DisConnect();
      } catch (const sdkadaptor::ExceptionSdkAdaptor& e) {
        Log().warn("<{}> Failed to disConnect.({})", "Connect", SdkAdaptorMessage(e));
      } catch (const std::exception& e) {
        Log().warn("<{}> Failed to disConnect.({})", "Connect", e.what());
      }
      throw ConnectExceptionImpl("Connect", __LINE__, ERR_INVALID_VENDOR, ConnectExceptionImpl::ERRMSG_INVALID_VENDER);
    }

    // Read-only access is for looking, not streaming: nothing more to prepare.
    if (access == quarx::AccessTypeEnum::ReadOnly) {
      return;
    }

    ReadSourceCount();
  } catch (const quarx::CoreException&) {
    throw;
  } catch (const sdkadaptor::ExceptionSdkAdaptor& e) {
    throw ConnectExceptionImpl("Connect", __LINE__, ERR_CONNECT, SdkAdaptorMessage(e));
  } catch (const std::exception& e) {
    throw ConnectExceptionImpl("Connect", __LINE__, ERR_CONNECT, e.what());
  }

  // Every channel is tried: one the camera cannot negotiate (already logged by the
  // adaptor) may still leave the others usable.
  for (uint32_t channel = 0; channel < stream_count_; ++channel) {
    try {
      gev_->NegotiatePacketSize(channel);
    } catch (const sdkadaptor::ExceptionSdkAdaptor&) {
      continue;
    } catch (const std::exception&) {
      throw ConnectExceptionImpl("Connect", __LINE__, ERR_CONNECT, StreamExceptionImpl::ERRMSG_NEGOTIATE_PACKET_SIZE);
    }
  }
}

void DeviceGEVImpl::ReadSourceCount() {
  // Each lookup takes a fresh node map and lets it go at once; the node it found stays
  // valid with the device.
  std::unique_ptr<sdkadaptor::GenInteger> source_count;
  if (auto parameters = GetFeaturesPointer()) {
    source_count = parameters->GetInteger("SourceCount");
  }
  if (!source_count) {
    Log().info("<{}> Not found SourceCount. This camera has only 1 stream.", "Connect");
    return;
  }
  const int64_t count = source_count->GetValue();
  if (count < 1 || count > kMaxSourceCount) {
    Log().warn("<{}> Invalid SourceCount({}). This camera has only 1 stream.", "Connect", count);
    stream_count_ = 1;
    return;
  }
  stream_count_ = static_cast<uint32_t>(count);
  Log().info("SourceCount({})", stream_count_);
  if (auto parameters = GetFeaturesPointer()) {
    source_selector_ = parameters->GetEnum("SourceSelector");
  }
}

bool DeviceGEVImpl::IsVelmoraDevice() const {
  const std::string mac = gev_->GetMACAddress();
  std::string prefix = mac.substr(0, std::min(mac.size(), kMacPrefixLength));
  std::transform(prefix.begin(), prefix.end(), prefix.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const std::string& vendor : vendor_mac_prefixes_) {
    if (vendor == prefix) {
      return true;
    }
  }
  Log().info("This is not VELMORA device. MacAddress({})", mac);
  return false;
}

std::string DeviceGEVImpl::GetIPAddress() const { return gev_->GetIPAddress(); }

std::string DeviceGEVImpl::GetMACAddress() const { return gev_->GetMACAddress(); }

void DeviceGEVImpl::SetStreamDestination(const std::string& ip, unsigned short port, unsigned int channel) {
  gev_->SetStreamDestination(ip, port, channel);
}

}  // namespace quarx::core
