// The handle of a GigE Vision camera.
#include "core/device_gev.h"

#include "core/exception_stream_impl.h"
#include "core/stream_gev.h"
#include "util/quarxlog.h"

namespace quarx::core {

namespace {

spdlog::logger& Log() { return *util::Log::GetInstance("").logger_; }

}  // namespace

DeviceGEV::DeviceGEV(const std::string& connectionId) : DeviceGEV(std::make_shared<DeviceGEVImpl>(connectionId)) {}

DeviceGEV::DeviceGEV(std::shared_ptr<DeviceGEVImpl> impl) : Device(std::move(impl)) {}

DeviceGEVImpl& DeviceGEV::Gev() const {
  // Both constructors hand the base a DeviceGEVImpl.
  return static_cast<DeviceGEVImpl&>(*Impl());
}

void DeviceGEV::Connect() {
  Log().info("<{}> (AccessTypeEnum::Control)", "Connect");
  Gev().Connect(quarx::AccessTypeEnum::Control);
}

void DeviceGEV::Connect(quarx::AccessTypeEnum access) {
  Log().info("<{}> (AccessType({}))", "Connect", static_cast<int>(access));
  Gev().Connect(access);
}

std::string DeviceGEV::GetIPAddress() const {
  std::string address = Gev().GetIPAddress();
  Log().info("<{}> ipaddress({}))", "GetIPAddress", address);
  return address;
}

std::string DeviceGEV::GetMACAddress() const {
  std::string address = Gev().GetMACAddress();
  Log().info("<{}> mac address({}))", "GetMACAddress", address);
  return address;
}

std::string DeviceGEV::GetSerialNumber() const {
  std::string serialNumber = Gev().GetSerialNumber();
  Log().info("<{}> serial number({})", "GetSerialNumber", serialNumber);
  return serialNumber;
}

void DeviceGEV::AcquisitionStart(unsigned int bufferCount) {
  Log().info("<{}> buffer_count({})", "AcquisitionStart", bufferCount);
  Impl()->AcquisitionStart(bufferCount);
}

std::vector<std::shared_ptr<Stream>> DeviceGEV::CreateAndOpenStreams() { return CreateAndOpenStreams(-1); }

std::vector<std::shared_ptr<Stream>> DeviceGEV::CreateAndOpenStreams(short priority) {
  Log().info("<{}> usermode_data_receiver_thread_priority({})", "CreateAndOpenStreams", priority);
  if (!Impl()->IsConnected()) {
    throw StreamExceptionImpl("CreateAndOpenStreams", __LINE__, ERR_STREAM_CREATE,
                              StreamExceptionImpl::ERRMSG_NOT_CONNECTED_CAMERA);
  }
  std::vector<std::shared_ptr<Stream>> streams = Gev().CreateStreams();
  for (std::size_t i = 0; i < streams.size(); ++i) {
    auto* stream = dynamic_cast<StreamGEV*>(streams[i].get());
    if (stream == nullptr) {
      throw StreamExceptionImpl("CreateAndOpenStreams", __LINE__, ERR_STREAM_CREATE,
                                "The stream is not a GigE Vision stream");
    }
    if (priority >= 0) {
      Log().info("<{}> SetUserModeDataReceiverThreadPriority({})", "CreateAndOpenStreams", priority);
      try {
        stream->SetUserModeDataReceiverThreadPriority(static_cast<uint32_t>(priority));
      } catch (const quarx::StreamException&) {
        throw;
      } catch (const std::exception&) {
        throw StreamExceptionImpl("CreateAndOpenStreams", __LINE__, ERR_STREAM_CREATE,
                                  StreamExceptionImpl::ERRMSG_STREAM_INVALID_PRIORITY);
      }
    }
    const auto channel = static_cast<uint16_t>(i);
    const std::pair<std::string, uint16_t> destination = stream->Open(channel);
    Gev().SetStreamDestination(destination.first, destination.second, channel);
    Log().info("<{}> StreamDestination(channel = {}, ip address = {}, port = {})", "CreateAndOpenStreams", channel,
               destination.first, destination.second);
  }
  Log().info("<{}> stream counts({}))", "CreateAndOpenStreams", streams.size());
  return streams;
}

}  // namespace quarx::core
