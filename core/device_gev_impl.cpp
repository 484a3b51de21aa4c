// Connecting a GigE Vision camera: control channel, maker check, image sources, packet sizes.
#include "core/device_gev_impl.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <stdexcept>

#include "core/exception_connect_impl.h"
#include "core/exception_core_impl.h"
#include "core/exception_stream_impl.h"
#include "core/stream_gev.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "sdkadaptor/src/stream_gev.h"
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
// The serial number's bootstrap register.
constexpr int64_t kSerialNumberRegister = 0x00D8;
constexpr int64_t kSerialNumberLength = 16;

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
      // A disconnect that fails is a connection failure of its own (2000, below); the
      // destructor tries the disconnect again.
      gev_->DisConnect();
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

std::string DeviceGEVImpl::GetSerialNumber() const {
  return ReadBootstrapText("GetSerialNumber", kSerialNumberRegister, kSerialNumberLength);
}

void DeviceGEVImpl::SetStreamDestination(const std::string& ip, unsigned short port, unsigned int channel) {
  gev_->SetStreamDestination(ip, port, channel);
}

std::vector<std::shared_ptr<Stream>> DeviceGEVImpl::CreateStreams() {
  Log().info("<{}>", "CreateStreams");
  if (!streams_.empty()) {
    throw StreamExceptionImpl("CreateStreams", __LINE__, ERR_STREAM_CREATE,
                              StreamExceptionImpl::ERRMSG_STREAM_ALREADY_OPENED);
  }
  try {
    const std::shared_ptr<ChunkParser> chunkParser = MakeChunkParser();
    for (uint32_t channel = 0; channel < stream_count_; ++channel) {
      streams_.push_back(std::make_shared<StreamGEV>(NewAdaptorStream(), chunkParser));
    }
    return streams_;
  } catch (const sdkadaptor::ExceptionSdkAdaptor& e) {
    // Half a set of streams would make every later call fail as "already opened".
    streams_.clear();
    throw StreamExceptionImpl("CreateStreams", __LINE__, ERR_STREAM_CREATE, SdkAdaptorMessage(e));
  } catch (const std::exception& e) {
    streams_.clear();
    throw StreamExceptionImpl("CreateStreams", __LINE__, ERR_STREAM_CREATE, e.what());
  }
}

std::shared_ptr<sdkadaptor::InterfaceStream> DeviceGEVImpl::NewAdaptorStream() {
  return std::make_shared<sdkadaptor::StreamGEV>(connection_id_);
}

void DeviceGEVImpl::AllocBuffersToStream(unsigned int bufferCount) {
  if (streams_.empty()) {
    throw StreamExceptionImpl("AllocBuffersToStream", __LINE__, ERR_STREAM_CREATE,
                              StreamExceptionImpl::ERRMSG_STREAM_NOT_CREATED);
  }
  try {
    for (std::size_t i = 0; i < streams_.size(); ++i) {
      const auto channel = static_cast<uint16_t>(i);
      streams_[i]->ReleaseBuffer();
      if (source_selector_) {
        // The camera lists its sources; one too few is its fault, reported rather than indexed.
        const std::vector<std::unique_ptr<sdkadaptor::InterfaceGenEnumEntry>> entries =
            source_selector_->GetEntries(false);
        if (channel >= entries.size() || !entries[channel]) {
          throw std::out_of_range("SourceSelector has " + std::to_string(entries.size()) +
                                  " entries; none for stream " + std::to_string(channel));
        }
        source_selector_->SetValue(static_cast<uint64_t>(entries[channel]->GetValue()));
      }
      const unsigned int payloadSize = device_->GetPayloadSize();
      streams_[i]->AllocBuffers(payloadSize, bufferCount);
      device_->StreamEnable(channel);
    }
  } catch (const sdkadaptor::ExceptionSdkAdaptor& e) {
    throw StreamExceptionImpl("AllocBuffersToStream", __LINE__, ERR_STREAM_CREATE, SdkAdaptorMessage(e));
  } catch (const std::exception& e) {
    throw StreamExceptionImpl("AllocBuffersToStream", __LINE__, ERR_STREAM_CREATE, e.what());
  }
}

}  // namespace quarx::core
