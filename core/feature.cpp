// One GenICam feature: the wrapping rule and the factory that picks the typed class.
#include "core/feature.h"

#include <fmt/format.h>

#include <exception>

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
std::shared_ptr<Feature> MakeTyped(const std::shared_ptr<sdkadaptor::InterfaceGenParameter>& node) {
  auto typed = std::dynamic_pointer_cast<Node>(node);
  if (!typed) {
    util::Log::GetInstance("").logger_->error("<{}>({}) node class does not match its type({})", "Create",
                                              NameOrEmpty(*node), static_cast<int>(node->GetType()));
    return nullptr;
  }
  return std::make_shared<FeatureT>(typed);
}

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
    // The type is asked anew for each candidate, in this order, as the adaptor's trace lines show.
    if (node->GetType() == FeatureTypeEnum::Boolean) {
      return MakeTyped<FeatureBoolean, sdkadaptor::GenBoolean>(node);
    }
    if (node->GetType() == FeatureTypeEnum::Command) {
      return MakeTyped<FeatureCommand, sdkadaptor::GenCommand>(node);
    }
    if (node->GetType() == FeatureTypeEnum::Enum) {
      return MakeTyped<FeatureEnum, sdkadaptor::GenEnum>(node);
    }
    if (node->GetType() == FeatureTypeEnum::Float) {
      return MakeTyped<FeatureFloat, sdkadaptor::GenFloat>(node);
    }
    if (node->GetType() == FeatureTypeEnum::Integer) {
      return MakeTyped<FeatureInteger, sdkadaptor::GenInteger>(node);
    }
    if (node->GetType() == FeatureTypeEnum::String) {
      return MakeTyped<FeatureString, sdkadaptor::GenString>(node);
    }
    if (node->GetType() == FeatureTypeEnum::Register) {
      return MakeTyped<FeatureRegister, sdkadaptor::GenRegister>(node);
    }
    util::Log::GetInstance("").logger_->error("<{}>({}) Invalid param type({})", "Create", NameOrEmpty(*node),
                                              static_cast<int>(node->GetType()));
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
