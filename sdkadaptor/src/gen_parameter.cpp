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

using TextRead = PvResult (PvGenParameter::*)(PvString&) const;
using ListRead = PvResult (PvGenParameter::*)(PvGenParameterList&) const;

// One text of the node, its SDK result logged and thrown by the rule under `operation`.
std::string ReadText(const PvGenParameter& node, TextRead read, const char* operation, unsigned int line) {
  PvString text;
  const PvResult result = (node.*read)(text);
  ApplyResultRule(result, operation, __FILE__, line);
  return text.GetAscii();
}

// The names of the nodes the SDK lists for the node (none without a node). Never throws: a
// failure below is logged under `operation`.
std::vector<std::string> ListedNames(const PvGenParameter* node, ListRead read, const char* operation) noexcept {
  try {
    PvGenParameterList list;
    if (node != nullptr) {
      (node->*read)(list);
    }
    std::vector<std::string> names;
    for (PvGenParameter* listed = list.GetFirst(); listed != nullptr; listed = list.GetNext()) {
      names.emplace_back(listed->GetName().GetAscii());
    }
    return names;
  } catch (const std::exception& e) {
    LogSwallowed(operation, e.what());
  } catch (...) {
    LogSwallowed(operation, "unknown exception");
  }
  return {};
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
  return ReadText(Node(), &PvGenParameter::GetCategory, "GetCategory", __LINE__);
}

std::string GenParameter::GetDescription() const {
  return ReadText(Node(), &PvGenParameter::GetDescription, "GetDescription", __LINE__);
}

std::string GenParameter::GetDisplayName() const {
  return ReadText(Node(), &PvGenParameter::GetDisplayName, "GetDisplayName", __LINE__);
}

std::string GenParameter::GetName() const { return ReadText(Node(), &PvGenParameter::GetName, "GetName", __LINE__); }

std::string GenParameter::GetToolTip() const {
  return ReadText(Node(), &PvGenParameter::GetToolTip, "GetToolTip", __LINE__);
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

std::string GenParameter::ToString() const { return ReadText(Node(), &PvGenParameter::ToString, "ToString", __LINE__); }

std::vector<std::string> GenParameter::GetSelectingParameters() const noexcept {
  return ListedNames(parameter_, &PvGenParameter::GetSelectingParameters, "GetSelectingParameters");
}

std::vector<std::string> GenParameter::GetSelectedParameters() const noexcept {
  return ListedNames(parameter_, &PvGenParameter::GetSelectedParameters, "GetSelectedParameters");
}

}  // namespace quarx::sdkadaptor
