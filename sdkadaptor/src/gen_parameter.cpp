// Generic node operations over the SDK node, each SDK result logged and thrown by the rule.
#include "sdkadaptor/src/gen_parameter.h"

#include "camerasdk/PvGenParameter.h"
#include "camerasdk/PvGenParameterList.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "sdkadaptor/src/feature_type_converter.h"
#include "sdkadaptor/src/result_rule.h"
#include "sdkadaptor/src/visibility_converter.h"
#include "util/quarxlog.h"

namespace quarx::sdkadaptor {
namespace {

constexpr CodeEnum kInternalError = 0x1000002;

std::vector<std::string> Names(PvGenParameterList& list) {
  std::vector<std::string> names;
  for (PvGenParameter* node = list.GetFirst(); node != nullptr; node = list.GetNext()) {
    names.emplace_back(node->GetName().GetAscii());
  }
  return names;
}

}  // namespace

GenParameter::GenParameter(PvGenParameter* parameter) : parameter_(parameter) {}

PvGenParameter& GenParameter::Node() const {
  if (parameter_ == nullptr) {
    throw ExceptionSdkAdaptor(kInternalError, "No SDK node behind this parameter");
  }
  return *parameter_;
}

void GenParameter::FromString(const std::string& value) {
  const PvResult result = Node().FromString(PvString(value));
  ApplyResultRule(result, "FromString", __FILE__, __LINE__);
}

std::string GenParameter::GetCategory() const {
  PvString text;
  const PvResult result = Node().GetCategory(text);
  ApplyResultRule(result, "GetCategory", __FILE__, __LINE__);
  return text.GetAscii();
}

std::string GenParameter::GetDescription() const {
  PvString text;
  const PvResult result = Node().GetDescription(text);
  ApplyResultRule(result, "GetDescription", __FILE__, __LINE__);
  return text.GetAscii();
}

std::string GenParameter::GetDisplayName() const {
  PvString text;
  const PvResult result = Node().GetDisplayName(text);
  ApplyResultRule(result, "GetDisplayName", __FILE__, __LINE__);
  return text.GetAscii();
}

std::string GenParameter::GetName() const {
  PvString text;
  const PvResult result = Node().GetName(text);
  ApplyResultRule(result, "GetName", __FILE__, __LINE__);
  return text.GetAscii();
}

std::string GenParameter::GetToolTip() const {
  PvString text;
  const PvResult result = Node().GetToolTip(text);
  ApplyResultRule(result, "GetToolTip", __FILE__, __LINE__);
  return text.GetAscii();
}

quarx::FeatureTypeEnum GenParameter::GetType() const {
  PvGenType type = PvGenTypeUndefined;
  const PvResult result = Node().GetType(type);
  ApplyResultRule(result, "GetType", __FILE__, __LINE__);
  return FeatureTypeConverter::ConvertTo(static_cast<int>(type));
}

bool GenParameter::IsUpdateEnabled() { return parameter_ != nullptr && parameter_->GetUpdatesEnabled(); }

quarx::VisibilityTypeEnum GenParameter::GetVisibility() const {
  PvGenVisibility visibility = PvGenVisibilityUndefined;
  const PvResult result = Node().GetVisibility(visibility);
  ApplyResultRule(result, "GetVisibility", __FILE__, __LINE__);
  return VisibilityConverter::ConvertTo(static_cast<int>(visibility));
}

bool GenParameter::IsAvailable() const { return parameter_ != nullptr && parameter_->IsAvailable(); }

bool GenParameter::IsImplemented() const { return parameter_ != nullptr && parameter_->IsImplemented(); }

bool GenParameter::IsPersistent() const { return parameter_ != nullptr && parameter_->IsPersistent(); }

bool GenParameter::IsReadable() const { return parameter_ != nullptr && parameter_->IsReadable(); }

bool GenParameter::IsSelector() const {
  bool selector = false;
  const PvResult result = Node().IsSelector(selector);
  ApplyResultRule(result, "IsSelector", __FILE__, __LINE__);
  return selector;
}

bool GenParameter::IsStreamable() const { return parameter_ != nullptr && parameter_->IsStreamable(); }

bool GenParameter::IsValueCached() const { return parameter_ != nullptr && parameter_->IsValueCached(); }

bool GenParameter::IsWritable() const { return parameter_ != nullptr && parameter_->IsWritable(); }

std::string GenParameter::ToString() const {
  PvString text;
  const PvResult result = Node().ToString(text);
  ApplyResultRule(result, "ToString", __FILE__, __LINE__);
  return text.GetAscii();
}

std::vector<std::string> GenParameter::GetSelectingParameters() const noexcept {
  try {
    PvGenParameterList list;
    if (parameter_ != nullptr) {
      parameter_->GetSelectingParameters(list);
    }
    return Names(list);
  } catch (const std::exception& e) {
    LogSwallowed("GetSelectingParameters", e.what());
  } catch (...) {
    LogSwallowed("GetSelectingParameters", "unknown exception");
  }
  return {};
}

std::vector<std::string> GenParameter::GetSelectedParameters() const noexcept {
  try {
    PvGenParameterList list;
    if (parameter_ != nullptr) {
      parameter_->GetSelectedParameters(list);
    }
    return Names(list);
  } catch (const std::exception& e) {
    LogSwallowed("GetSelectedParameters", e.what());
  } catch (...) {
    LogSwallowed("GetSelectedParameters", "unknown exception");
  }
  return {};
}

}  // namespace quarx::sdkadaptor
