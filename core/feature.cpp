// One GenICam feature: the wrapping rule and the factory that picks the typed class.
#include "core/feature.h"

#include <fmt/format.h>

#include <array>
#include <exception>
#include <utility>

#include "core/exception_feature_impl.h"
#include "core/feature_boolean.h"
#include "core/feature_command.h"
#include "core/feature_enum.h"
#include "core/feature_float.h"
#include "core/feature_integer.h"
#include "core/feature_register.h"
#include "core/feature_string.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "util/quarxlog.h"

namespace quarx::core {

namespace {

// A name for an error report; reading it may itself fail, and the report must still go out.
std::string NameOrEmpty(const sdkadaptor::InterfaceGenParameter& node) noexcept {
  try {
    return node.GetName();
  } catch (...) {
    return {};
  }
}

// The typed feature over a node whose type said Node; null when the node is not of that class.
template <class FeatureT, class Node>
std::shared_ptr<Feature> MakeTyped(const std::shared_ptr<sdkadaptor::InterfaceGenParameter>& node,
                                   FeatureTypeEnum type) {
  auto typed = std::dynamic_pointer_cast<Node>(node);
  if (!typed) {
    util::Log::GetInstance("").logger_->error("<{}>({}) node class does not match its type({})", "Create",
                                              NameOrEmpty(*node), static_cast<int>(type));
    return nullptr;
  }
  return std::make_shared<FeatureT>(typed);
}

using MakeFeature = std::shared_ptr<Feature> (*)(const std::shared_ptr<sdkadaptor::InterfaceGenParameter>&,
                                                 FeatureTypeEnum);

// The order in which the factory tries the node kinds.
const std::array<std::pair<FeatureTypeEnum, MakeFeature>, 7> kFeatureKinds = {{
    {FeatureTypeEnum::Boolean, &MakeTyped<FeatureBoolean, sdkadaptor::GenBoolean>},
    {FeatureTypeEnum::Command, &MakeTyped<FeatureCommand, sdkadaptor::GenCommand>},
    {FeatureTypeEnum::Enum, &MakeTyped<FeatureEnum, sdkadaptor::GenEnum>},
    {FeatureTypeEnum::Float, &MakeTyped<FeatureFloat, sdkadaptor::GenFloat>},
    {FeatureTypeEnum::Integer, &MakeTyped<FeatureInteger, sdkadaptor::GenInteger>},
    {FeatureTypeEnum::String, &MakeTyped<FeatureString, sdkadaptor::GenString>},
    {FeatureTypeEnum::Register, &MakeTyped<FeatureRegister, sdkadaptor::GenRegister>},
}};

}  // namespace

void RethrowAsFeatureException(const std::string& sdk_function, const std::string& function, int line,
                               const std::string& feature_name) {
  try {
    throw;
  } catch (const sdkadaptor::ExceptionSdkAdaptor& e) {
    throw FeatureExceptionImpl::Create(sdk_function, line, feature_name, static_cast<int>(e.GetCode()),
                                       e.GetDescription());
  } catch (const std::exception& e) {
    throw FeatureExceptionImpl(function, line, ERR_FEATURE, fmt::format("{} : {}", feature_name, e.what()));
  }
}

Feature::Feature(sdkadaptor::InterfaceGenParameter* node) : node_(node) {}

void Feature::RethrowAsFeatureException(const std::string& function, int line) const {
  core::RethrowAsFeatureException(function, function, line, NameOrEmpty(*node_));
}

std::shared_ptr<Feature> Feature::Create(const std::shared_ptr<sdkadaptor::InterfaceGenParameter>& node) noexcept {
  if (!node) {
    return nullptr;
  }
  try {
    // The type is asked anew for each candidate, so the adaptor writes one trace line per
    // comparison and no more.
    FeatureTypeEnum type = FeatureTypeEnum::Undefined;
    for (const auto& [kind, make] : kFeatureKinds) {
      type = node->GetType();
      if (type == kind) {
        return make(node, type);
      }
    }
    util::Log::GetInstance("").logger_->error("<{}>({}) Invalid param type({})", "Create", NameOrEmpty(*node),
                                              static_cast<int>(type));
  } catch (const std::exception& e) {
    // Callers treat null as an absent feature, which is what a node of unknown type is to them.
    util::Log::GetInstance("").logger_->error("<{}>({}) Failed to read the param type: {}", "Create",
                                              NameOrEmpty(*node), e.what());
  } catch (...) {
    util::Log::GetInstance("").logger_->error("<{}>({}) Failed to read the param type", "Create",
                                              NameOrEmpty(*node));
  }
  return nullptr;
}

bool Feature::IsAvailable() const { return node_->IsAvailable(); }
bool Feature::IsImplemented() const { return node_->IsImplemented(); }
bool Feature::IsReadable() const { return node_->IsReadable(); }
bool Feature::IsStreamable() const { return node_->IsStreamable(); }
bool Feature::IsValueCached() const { return node_->IsValueCached(); }
bool Feature::IsWritable() const { return node_->IsWritable(); }

void Feature::FromString(const std::string& value) {
  try {
    node_->FromString(value);
  } catch (...) {
    // The classified (SDK) case names the class, the other case the bare operation.
    core::RethrowAsFeatureException("Feature::FromString", "FromString", __LINE__, NameOrEmpty(*node_));
  }
}

std::string Feature::GetCategory() const {
  try {
    return node_->GetCategory();
  } catch (...) {
    RethrowAsFeatureException("GetCategory", __LINE__);
  }
}

std::string Feature::GetDescription() const {
  try {
    return node_->GetDescription();
  } catch (...) {
    RethrowAsFeatureException("GetDescription", __LINE__);
  }
}

std::string Feature::GetDisplayName() const {
  try {
    return node_->GetDisplayName();
  } catch (...) {
    RethrowAsFeatureException("GetDisplayName", __LINE__);
  }
}

std::string Feature::GetName() const {
  try {
    return node_->GetName();
  } catch (...) {
    RethrowAsFeatureException("GetName", __LINE__);
  }
}

std::string Feature::GetToolTip() const {
  try {
    return node_->GetToolTip();
  } catch (...) {
    RethrowAsFeatureException("GetToolTip", __LINE__);
  }
}

quarx::FeatureTypeEnum Feature::GetType() const {
  try {
    return node_->GetType();
  } catch (...) {
    RethrowAsFeatureException("GetType", __LINE__);
  }
}

quarx::VisibilityTypeEnum Feature::GetVisibility() const {
  try {
    return node_->GetVisibility();
  } catch (...) {
    RethrowAsFeatureException("GetVisibility", __LINE__);
  }
}

bool Feature::IsSelector() const {
  try {
    return node_->IsSelector();
  } catch (...) {
    RethrowAsFeatureException("IsSelector", __LINE__);
  }
}

std::string Feature::GetValueAsString() const {
  try {
    return node_->ToString();
  } catch (...) {
    RethrowAsFeatureException("GetValueAsString", __LINE__);
  }
}

}  // namespace quarx::core
