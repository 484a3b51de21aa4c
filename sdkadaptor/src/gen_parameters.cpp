// Node maps: lookups by index and name that hand out a new node of the class matching the
// SDK node's type on every call.
#include "sdkadaptor/src/gen_parameters.h"

#include <fmt/format.h>

#include "camerasdk/PvGenParameter.h"
#include "camerasdk/PvGenParameterArray.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "sdkadaptor/src/result_rule.h"
#include "util/quarxlog.h"

namespace quarx::sdkadaptor {
namespace {

constexpr CodeEnum kInvalidParameterIndex = 0x100001;
constexpr CodeEnum kInvalidParameterType = 0x1000003;
constexpr CodeEnum kInternalError = 0x1000002;

// The one shape of the seven typed lookups; `Node` is the adaptor class, `sdkType` the SDK
// type it accepts and `message` the refusal for a node of another type.
template <typename Node>
std::unique_ptr<Node> TypedLookup(PvGenParameterArray* parameters, const std::string& name, const char* operation,
                                  PvGenType sdkType, const char* message) {
  if (parameters == nullptr) {
    throw ExceptionSdkAdaptor(kInternalError, "No SDK node map");
  }
  PvGenParameter* parameter = parameters->Get(PvString(name));
  if (parameter == nullptr) {
    util::Log::GetInstance("").logger_->error("<{}> Invalid Parameter Name({})", operation, name);
    return nullptr;
  }
  PvGenType type = PvGenTypeUndefined;
  const PvResult result = parameter->GetType(type);
  ApplyResultRule(result, operation, __FILE__, __LINE__);
  if (type != sdkType) {
    const std::string text = fmt::format(message, name);
    util::Log::GetInstance("").logger_->error("<{}> ({})", operation, text);
    throw ExceptionSdkAdaptor(kInvalidParameterType, text);
  }
  return std::make_unique<Node>(parameter);
}

}  // namespace

GenParameters::GenParameters(PvGenParameterArray* parameters) : parameters_(parameters) {}

unsigned int GenParameters::GetCount() const { return parameters_ == nullptr ? 0 : parameters_->GetCount(); }

std::shared_ptr<InterfaceGenParameter> GenParameters::CreateConcreteGenParam(PvGenParameter* parameter) {
  PvGenType type = PvGenTypeUndefined;
  if (parameter->GetType(type).IsOK()) {
    switch (type) {
      case PvGenTypeInteger:
        return std::make_shared<GenInteger>(parameter);
      case PvGenTypeEnum:
        return std::make_shared<GenEnum>(parameter);
      case PvGenTypeBoolean:
        return std::make_shared<GenBoolean>(parameter);
      case PvGenTypeString:
        return std::make_shared<GenString>(parameter);
      case PvGenTypeCommand:
        return std::make_shared<GenCommand>(parameter);
      case PvGenTypeFloat:
        return std::make_shared<GenFloat>(parameter);
      case PvGenTypeRegister:
        return std::make_shared<GenRegister>(parameter);
      default:
        break;
    }
  }
  return std::make_shared<GenParameter>(parameter);
}

std::shared_ptr<InterfaceGenParameter> GenParameters::Get(unsigned int index) {
  PvGenParameter* parameter = parameters_ == nullptr ? nullptr : parameters_->Get(index);
  if (parameter == nullptr) {
    util::Log::GetInstance("").logger_->error("<{}> Invalid Parameter Index({})", "Get", index);
    throw ExceptionSdkAdaptor(kInvalidParameterIndex, "");
  }
  return CreateConcreteGenParam(parameter);
}

std::shared_ptr<InterfaceGenParameter> GenParameters::Get(const std::string& name) noexcept {
  try {
    PvGenParameter* parameter = parameters_ == nullptr ? nullptr : parameters_->Get(PvString(name));
    if (parameter == nullptr) {
      util::Log::GetInstance("").logger_->error("<{}> Invalid Parameter Name({})", "Get", name);
      return nullptr;
    }
    return CreateConcreteGenParam(parameter);
  } catch (const std::exception& e) {
    LogSwallowed("Get", e.what());
  } catch (...) {
    LogSwallowed("Get", "unknown exception");
  }
  return nullptr;
}

std::unique_ptr<GenBoolean> GenParameters::GetBoolean(const std::string& name) {
  return TypedLookup<GenBoolean>(parameters_, name, "GetBoolean", PvGenTypeBoolean, "{} is not boolean.");
}

std::unique_ptr<GenCommand> GenParameters::GetCommand(const std::string& name) {
  return TypedLookup<GenCommand>(parameters_, name, "GetCommand", PvGenTypeCommand, "{} is not command.");
}

std::unique_ptr<GenEnum> GenParameters::GetEnum(const std::string& name) {
  return TypedLookup<GenEnum>(parameters_, name, "GetEnum", PvGenTypeEnum, "{} is not enum.");
}

std::unique_ptr<GenFloat> GenParameters::GetFloat(const std::string& name) {
  return TypedLookup<GenFloat>(parameters_, name, "GetFloat", PvGenTypeFloat, "{} is not float.");
}

std::unique_ptr<GenInteger> GenParameters::GetInteger(const std::string& name) {
  return TypedLookup<GenInteger>(parameters_, name, "GetInteger", PvGenTypeInteger, "{} is not integer.");
}

std::unique_ptr<GenRegister> GenParameters::GetRegister(const std::string& name) {
  return TypedLookup<GenRegister>(parameters_, name, "GetRegister", PvGenTypeRegister, "{} is not register.");
}

std::unique_ptr<GenString> GenParameters::GetString(const std::string& name) {
  return TypedLookup<GenString>(parameters_, name, "GetString", PvGenTypeString, "{} is not string.");
}

void GenParameters::AttachDataChunks(unsigned char* data, unsigned int size) {
  if (parameters_ == nullptr) {
    throw ExceptionSdkAdaptor(kInternalError, "No SDK node map");
  }
  const PvResult result = parameters_->AttachDataChunks(data, size);
  ApplyResultRule(result, "AttachDataChunks", __FILE__, __LINE__);
}

}  // namespace quarx::sdkadaptor
