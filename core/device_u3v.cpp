// The handle of a USB3 Vision camera.
#include "core/device_u3v.h"

#include "core/exception_stream_impl.h"
#include "core/stream_u3v.h"
#include "util/quarxlog.h"

namespace quarx::core {

DeviceU3V::DeviceU3V(const std::string& connectionId) : DeviceU3V(std::make_shared<DeviceU3VImpl>(connectionId)) {}

DeviceU3V::DeviceU3V(std::shared_ptr<DeviceU3VImpl> impl) : Device(std::move(impl)) {}

DeviceU3VImpl& DeviceU3V::U3v() const {
  // Both constructors hand the base a DeviceU3VImpl.
  return static_cast<DeviceU3VImpl&>(*Impl());
}

void DeviceU3V::Connect() { U3v().Connect(); }

std::string DeviceU3V::GetUUID() const { return U3v().GetUUID(); }

std::string DeviceU3V::GetSerialNumber() const { return U3v().GetSerialNumber(); }

std::string DeviceU3V::GetBootstrapSerialNumber() const { return U3v().GetBootstrapSerialNumber(); }

void DeviceU3V::AcquisitionStart(unsigned int bufferCount) { Impl()->AcquisitionStart(bufferCount); }

std::vector<std::shared_ptr<Stream>> DeviceU3V::CreateAndOpenStreams() {
  spdlog::logger& log = *util::Log::GetInstance("").logger_;
  log.info("<{}>", "CreateAndOpenStreams");
  if (!Impl()->IsConnected()) {
    throw StreamExceptionImpl("CreateAndOpenStreams", __LINE__, ERR_STREAM_CREATE,
                              StreamExceptionImpl::ERRMSG_NOT_CONNECTED_CAMERA);
  }
  std::vector<std::shared_ptr<Stream>> streams = U3v().CreateStreams();
  auto* first = streams.empty() ? nullptr : dynamic_cast<StreamU3V*>(streams.front().get());
  if (first == nullptr) {
    throw StreamExceptionImpl("CreateAndOpenStreams", __LINE__, ERR_STREAM_CREATE,
                              "The stream is not a USB3 Vision stream");
  }
  first->Open(0);
  log.info("<{}> stream counts({}))", "CreateAndOpenStreams", streams.size());
  return streams;
}

}  // namespace quarx::core
