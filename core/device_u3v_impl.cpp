// Connecting a USB3 Vision camera.
#include "core/device_u3v_impl.h"

#include <fmt/format.h>

#include <exception>

#include "core/exception_connect_impl.h"
#include "core/exception_core_impl.h"
#include "core/exception_stream_impl.h"
#include "core/stream_u3v.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "sdkadaptor/src/stream_u3v.h"
#include "util/quarxlog.h"

namespace quarx::core {
namespace {

// The serial number's bootstrap register (GenCP's technology-agnostic map).
constexpr int64_t kSerialNumberRegister = 0x0144;
constexpr int64_t kSerialNumberLength = 64;

}  // namespace

DeviceU3VImpl::DeviceU3VImpl(const std::string& connectionId)
    : DeviceU3VImpl(connectionId, std::make_unique<sdkadaptor::DeviceU3V>()) {}

DeviceU3VImpl::DeviceU3VImpl(const std::string& connectionId, std::unique_ptr<sdkadaptor::InterfaceDeviceU3V> device)
    : DeviceImpl(connectionId, device.release()) {}

void DeviceU3VImpl::Connect() {
  try {
    device_->Connect(connection_id_);
  } catch (const sdkadaptor::ExceptionSdkAdaptor& e) {
    throw ConnectExceptionImpl("Connect", __LINE__, ERR_CONNECT, SdkAdaptorMessage(e));
  } catch (const std::exception& e) {
    throw ConnectExceptionImpl("Connect", __LINE__, ERR_CONNECT, e.what());
  }
}

const sdkadaptor::DeviceU3V& DeviceU3VImpl::AdaptorU3V(const char* operation) const {
  const auto* u3v = dynamic_cast<const sdkadaptor::DeviceU3V*>(device_);
  if (!u3v) {
    throw CoreExceptionImpl(operation, RESULT_DEVICE, ERR_INVALID_DEVICE_TYPE,
                            fmt::format("Invalid device type({})", static_cast<int>(device_->GetType())));
  }
  return *u3v;
}

std::string DeviceU3VImpl::GetUUID() const { return ListedGUID(); }

std::string DeviceU3VImpl::GetSerialNumber() const { return ListedSerialNumber(); }

std::string DeviceU3VImpl::GetBootstrapSerialNumber() const {
  return ReadBootstrapText("GetBootstrapSerialNumber", kSerialNumberRegister, kSerialNumberLength);
}

std::string DeviceU3VImpl::ListedGUID() const { return AdaptorU3V("GetUUID").GetGUID(); }

std::string DeviceU3VImpl::ListedSerialNumber() const { return AdaptorU3V("GetSerialNumber").GetSerialNumber(); }

std::vector<std::shared_ptr<Stream>> DeviceU3VImpl::CreateStreams() {
  util::Log::GetInstance("").logger_->info("<{}>", "CreateStreams");
  try {
    const std::shared_ptr<ChunkParser> chunkParser = MakeChunkParser();
    streams_.push_back(std::make_shared<StreamU3V>(NewAdaptorStream(), chunkParser));
    return streams_;
  } catch (const std::exception& e) {
    throw StreamExceptionImpl("CreateStreams", __LINE__, ERR_STREAM_CREATE, e.what());
  }
}

std::shared_ptr<sdkadaptor::InterfaceStream> DeviceU3VImpl::NewAdaptorStream() {
  return std::make_shared<sdkadaptor::StreamU3V>(connection_id_);
}

void DeviceU3VImpl::AllocBuffersToStream(unsigned int bufferCount) {
  if (streams_.empty()) {
    throw StreamExceptionImpl("AllocBuffersToStream", __LINE__, ERR_STREAM_CREATE,
                              StreamExceptionImpl::ERRMSG_STREAM_NOT_CREATED);
  }
  try {
    streams_.front()->AllocBuffers(device_->GetPayloadSize(), bufferCount);
    device_->StreamEnable(0);
  } catch (const sdkadaptor::ExceptionSdkAdaptor& e) {
    throw StreamExceptionImpl("AllocBuffersToStream", __LINE__, ERR_STREAM_CREATE, SdkAdaptorMessage(e));
  } catch (const std::exception& e) {
    throw StreamExceptionImpl("AllocBuffersToStream", __LINE__, ERR_STREAM_CREATE, e.what());
  }
}

}  // namespace quarx::core
