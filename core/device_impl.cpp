// The work common to both transports behind a device handle.
#include "core/device_impl.h"

#include <fmt/format.h>

#include <algorithm>
#include <exception>
#include <stdexcept>

#include "core/exception_acqusition_impl.h"
#include "core/exception_connect_impl.h"
#include "core/exception_core_impl.h"
#include "core/exception_feature_impl.h"
#include "core/stream.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "util/quarxlog.h"

namespace quarx::core {

namespace {

using sdkadaptor::InterfaceGenParameters;

spdlog::logger& Log() { return *util::Log::GetInstance("").logger_; }

// A feature by name from a fresh node map that `getMap` fetches; the map object goes before
// returning, the SDK node it found stays with the device.
template <class GetMap>
std::shared_ptr<Feature> LookUp(GetMap getMap, const std::string& name, const char* function) noexcept {
  try {
    const std::unique_ptr<InterfaceGenParameters> parameters = getMap();
    if (!parameters) {
      return nullptr;
    }
    return Feature::Create(parameters->Get(name));
  } catch (const std::exception& e) {
    // Absence is this lookup's only answer; the failure below is kept in the log.
    Log().error("<{}> ({}) {}", function, name, e.what());
  } catch (...) {
    Log().error("<{}> ({}) unknown exception", function, name);
  }
  return nullptr;
}

// Every node's feature by walking the indices of the map that `getMap` fetches; `skip` names a
// node left out.
template <class GetMap, class LookUpByName>
std::vector<std::shared_ptr<Feature>> WalkAll(GetMap getMap, const std::string& skip, LookUpByName lookUpByName,
                                              const char* function) noexcept {
  std::vector<std::shared_ptr<Feature>> features;
  try {
    const std::unique_ptr<InterfaceGenParameters> parameters = getMap();
    if (!parameters) {
      return features;
    }
    for (unsigned int i = 0; i < parameters->GetCount(); ++i) {
      std::string name;
      try {
        std::shared_ptr<sdkadaptor::InterfaceGenParameter> node = parameters->Get(i);
        if (!node) {
          continue;
        }
        name = node->GetName();
      } catch (const std::exception& e) {
        Log().debug("<{}> index({}) skipped: {}", function, i, e.what());
        continue;
      }
      if (!skip.empty() && name == skip) {
        continue;
      }
      features.push_back(lookUpByName(name));
    }
  } catch (const std::exception& e) {
    Log().error("<{}> {}", function, e.what());
  } catch (...) {
    Log().error("<{}> unknown exception", function);
  }
  return features;
}

// The device's typed lookups share one shape: a node of another type is a lookup failure
// (detail 1) reported with the feature's name and the adaptor's description.
template <class FeatureT, class Node>
std::unique_ptr<FeatureT> TypedLookup(std::unique_ptr<InterfaceGenParameters> parameters,
                                      std::unique_ptr<Node> (InterfaceGenParameters::*lookup)(const std::string&),
                                      const std::string& name, const char* function, int line) {
  if (!parameters) {
    return nullptr;
  }
  try {
    std::unique_ptr<Node> node = (parameters.get()->*lookup)(name);
    parameters.reset();
    if (!node) {
      return nullptr;
    }
    return std::make_unique<FeatureT>(std::shared_ptr<Node>(std::move(node)));
  } catch (const sdkadaptor::ExceptionSdkAdaptor& e) {
    throw FeatureExceptionImpl(function, line, ERR_FAILED, fmt::format("{} : {}", name, e.GetDescription()));
  }
}

// The camera's acquisition command of that name, which is also the name of the operation
// asking for it; null after an error line when the camera has none.
std::unique_ptr<sdkadaptor::GenCommand> AcquisitionCommand(sdkadaptor::InterfaceDevice& device, const char* name) {
  std::unique_ptr<sdkadaptor::GenCommand> command;
  if (std::unique_ptr<InterfaceGenParameters> parameters = device.GetParameters()) {
    command = parameters->GetCommand(name);
  }
  if (!command) {
    Log().error("<{}> GetCommand(\"{}\") is nullptr", name, name);
  }
  return command;
}

// A thread priority the SDK refused, as the device-level fault it is to callers.
template <class Set>
void SetPriority(const char* function, Set set) {
  try {
    set();
  } catch (const sdkadaptor::ExceptionSdkAdaptor& e) {
    const std::string message = SdkAdaptorMessage(e);
    Log().error("<{}> ({})", function, message);
    throw CoreExceptionImpl(function, RESULT_DEVICE, ERR_UNCLASSIFIED, message);
  } catch (const std::exception& e) {
    Log().error("<{}> {}", function, e.what());
    throw CoreExceptionImpl(function, RESULT_DEVICE, ERR_UNCLASSIFIED, e.what());
  }
}

}  // namespace

DeviceImpl::DeviceImpl(const std::string& connectionId, sdkadaptor::InterfaceDevice* device)
    : connection_id_(connectionId), device_(device) {}

DeviceImpl::~DeviceImpl() {
  // The SDK gives control of the camera back only when asked to; a camera left held would
  // refuse the next connection until its heartbeat runs out.
  try {
    if (device_ && device_->IsConnected()) {
      device_->DisConnect();
    }
  } catch (const sdkadaptor::ExceptionSdkAdaptor& e) {
    Log().warn("<{}> Failed to disconnect ({})", "~DeviceImpl", SdkAdaptorMessage(e));
  } catch (const std::exception& e) {
    Log().warn("<{}> Failed to disconnect ({})", "~DeviceImpl", e.what());
  } catch (...) {
    Log().warn("<{}> Failed to disconnect", "~DeviceImpl");
  }
  for (const std::weak_ptr<ChunkParser>& parser : chunk_parsers_) {
    if (std::shared_ptr<ChunkParser> alive = parser.lock()) {
      alive->DetachDevice();
    }
  }
  delete device_;
}

std::unique_ptr<sdkadaptor::InterfaceGenParameters> DeviceImpl::GetFeaturesPointer() {
  return device_->GetParameters();
}

std::unique_ptr<sdkadaptor::InterfaceGenParameters> DeviceImpl::GetCommunicationParametersPointer() {
  return device_->GetCommunicationParameters();
}

std::shared_ptr<Feature> DeviceImpl::GetFeature(const std::string& name) noexcept {
  return LookUp([this] { return device_->GetParameters(); }, name, "GetFeature");
}

std::shared_ptr<Feature> DeviceImpl::GetCommunicationParameter(const std::string& name) noexcept {
  return LookUp([this] { return device_->GetCommunicationParameters(); }, name, "GetCommunicationParameter");
}

std::vector<std::shared_ptr<Feature>> DeviceImpl::GetFeatures() noexcept {
  // The chunk image is a buffer's payload seen as a node, not a feature of the camera.
  return WalkAll([this] { return device_->GetParameters(); }, "ChunkImage",
                 [this](const std::string& name) { return GetFeature(name); }, "GetFeatures");
}

std::vector<std::shared_ptr<Feature>> DeviceImpl::GetCommunicationParameters() noexcept {
  return WalkAll([this] { return device_->GetCommunicationParameters(); }, "",
                 [this](const std::string& name) { return GetCommunicationParameter(name); },
                 "GetCommunicationParameters");
}

std::unique_ptr<FeatureBoolean> DeviceImpl::GetBoolean(const std::string& name) {
  return TypedLookup<FeatureBoolean>(device_->GetParameters(), &InterfaceGenParameters::GetBoolean, name,
                                     "GetBoolean", __LINE__);
}

std::unique_ptr<FeatureCommand> DeviceImpl::GetCommand(const std::string& name) {
  return TypedLookup<FeatureCommand>(device_->GetParameters(), &InterfaceGenParameters::GetCommand, name,
                                     "GetCommand", __LINE__);
}

std::unique_ptr<FeatureEnum> DeviceImpl::GetEnum(const std::string& name) {
  return TypedLookup<FeatureEnum>(device_->GetParameters(), &InterfaceGenParameters::GetEnum, name, "GetEnum",
                                  __LINE__);
}

std::unique_ptr<FeatureFloat> DeviceImpl::GetFloat(const std::string& name) {
  return TypedLookup<FeatureFloat>(device_->GetParameters(), &InterfaceGenParameters::GetFloat, name, "GetFloat",
                                   __LINE__);
}

std::unique_ptr<FeatureInteger> DeviceImpl::GetInteger(const std::string& name) {
  return TypedLookup<FeatureInteger>(device_->GetParameters(), &InterfaceGenParameters::GetInteger, name,
                                     "GetInteger", __LINE__);
}

std::unique_ptr<FeatureRegister> DeviceImpl::GetRegister(const std::string& name) {
  return TypedLookup<FeatureRegister>(device_->GetParameters(), &InterfaceGenParameters::GetRegister, name,
                                      "GetRegister", __LINE__);
}

std::unique_ptr<FeatureString> DeviceImpl::GetString(const std::string& name) {
  return TypedLookup<FeatureString>(device_->GetParameters(), &InterfaceGenParameters::GetString, name, "GetString",
                                    __LINE__);
}

std::unique_ptr<GenicamFile> DeviceImpl::GetGenFile() const noexcept {
  std::unique_ptr<sdkadaptor::GenFile> file;
  try {
    file = device_->GetGenFile();
  } catch (const std::exception& e) {
    Log().error("<{}> {}", "GetGenFile", e.what());
  } catch (...) {
    Log().error("<{}> unknown exception", "GetGenFile");
  }
  return std::make_unique<GenicamFile>(file);
}

quarx::DeviceInterfaceTypeEnum DeviceImpl::GetInterfaceType() const { return device_->GetType(); }

bool DeviceImpl::IsConnected() const { return device_->IsConnected(); }

unsigned int DeviceImpl::GetHeartbeatThreadPriority() const { return device_->GetHeartBeatThreadPriority(); }

unsigned int DeviceImpl::GetInterruptLinkThreadPriority() const { return device_->GetInterruptLinkThreadPriority(); }

unsigned int DeviceImpl::GetInterruptQueueThreadPriority() const {
  return device_->GetInterruptQueueThreadPriority();
}

void DeviceImpl::SetHeartbeatThreadPriority(unsigned int priority) {
  SetPriority("SetHeartbeatThreadPriority", [&] { device_->SetHeartBeatThreadPriority(priority); });
}

void DeviceImpl::SetInterruptLinkThreadPriority(unsigned int priority) {
  SetPriority("SetInterruptLinkThreadPriority", [&] { device_->SetInterruptLinkThreadPriority(priority); });
}

void DeviceImpl::SetInterruptQueueThreadPriority(unsigned int priority) {
  SetPriority("SetInterruptQueueThreadPriority", [&] { device_->SetInterruptQueueThreadPriority(priority); });
}

void DeviceImpl::DisConnect() {
  Log().debug("<{}>", "DisConnect");
  try {
    for (unsigned int channel = 0; channel < streams_.size(); ++channel) {
      device_->StreamDisable(channel);
    }
    streams_.clear();
    device_->DisConnect();
  } catch (const sdkadaptor::ExceptionSdkAdaptor& e) {
    throw ConnectExceptionImpl("DisConnect", __LINE__, ERR_DISCONNECT, SdkAdaptorMessage(e));
  } catch (const std::exception& e) {
    throw ConnectExceptionImpl("DisConnect", __LINE__, ERR_DISCONNECT, e.what());
  }
}

std::string DeviceImpl::ReadBootstrapText(const char* operation, int64_t address, int64_t length) const {
  std::vector<uint8_t> field;
  try {
    field = device_->ReadMemory(address, length);
  } catch (const sdkadaptor::ExceptionSdkAdaptor& e) {
    throw ConnectExceptionImpl(operation, __LINE__, ERR_CONNECT, SdkAdaptorMessage(e));
  } catch (const std::exception& e) {
    throw ConnectExceptionImpl(operation, __LINE__, ERR_CONNECT, e.what());
  }
  return std::string(field.begin(), std::find(field.begin(), field.end(), uint8_t{0}));
}

std::shared_ptr<ChunkParser> DeviceImpl::MakeChunkParser() {
  auto parser = std::make_shared<ChunkParser>(device_);
  chunk_parsers_.erase(std::remove_if(chunk_parsers_.begin(), chunk_parsers_.end(),
                                      [](const std::weak_ptr<ChunkParser>& p) { return p.expired(); }),
                       chunk_parsers_.end());
  chunk_parsers_.push_back(parser);
  return parser;
}

void DeviceImpl::AcquisitionStart(unsigned int bufferCount) {
  Log().debug("<{}> buffer_count({})", "AcquisitionStart", bufferCount);
  try {
    AllocBuffersToStream(bufferCount);
    Log().info("<{}> Send AcquisitionStart to camera", "AcquisitionStart");
    std::unique_ptr<sdkadaptor::GenCommand> command = AcquisitionCommand(*device_, "AcquisitionStart");
    if (!command) {
      throw AcqusitionExceptionImpl("AcquisitionStart", __LINE__, ERR_ACQUSITION_START, "");
    }
    command->Execute();
  } catch (const quarx::StreamException&) {
    throw;
  } catch (const sdkadaptor::ExceptionSdkAdaptor& e) {
    throw AcqusitionExceptionImpl("AcquisitionStart", __LINE__, ERR_ACQUSITION_START, SdkAdaptorMessage(e));
  } catch (const std::exception& e) {
    throw AcqusitionExceptionImpl("AcquisitionStart", __LINE__, ERR_ACQUSITION_START, e.what());
  }
}

void DeviceImpl::AcquisitionStop() {
  Log().debug("<{}>", "AcquisitionStop");
  try {
    std::unique_ptr<sdkadaptor::GenCommand> command = AcquisitionCommand(*device_, "AcquisitionStop");
    if (!command) {
      throw std::runtime_error("");
    }
    command->Execute();
    for (unsigned int channel = 0; channel < streams_.size(); ++channel) {
      device_->StreamDisable(channel);
    }
  } catch (const sdkadaptor::ExceptionSdkAdaptor& e) {
    throw AcqusitionExceptionImpl("AcquisitionStop", __LINE__, ERR_ACQUSITION_STOP, SdkAdaptorMessage(e));
  } catch (const std::exception& e) {
    throw AcqusitionExceptionImpl("AcquisitionStop", __LINE__, ERR_ACQUSITION_STOP, e.what());
  }
}

}  // namespace quarx::core
