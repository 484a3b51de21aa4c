// String nodes.
#include "sdkadaptor/src/gen_string.h"

#include <string>

#include "camerasdk/PvGenString.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "sdkadaptor/src/result_rule.h"

namespace quarx::sdkadaptor {
namespace {

constexpr CodeEnum kInvalidParameterType = 0x1000003;

// The node map builds every node as the class of its SDK type, so this fails only for a node
// made by hand over a node of another kind.
PvGenString& Sdk(PvGenParameter& node) {
  auto* typed = dynamic_cast<PvGenString*>(&node);
  if (typed == nullptr) {
    throw ExceptionSdkAdaptor(kInvalidParameterType, std::string(node.GetName().GetAscii()) + " is not string.");
  }
  return *typed;
}

}  // namespace

GenString::GenString(PvGenParameter* parameter) : GenParameter(parameter) {}

int64_t GenString::GetMaxLength() {
  int64_t maxLength = 0;
  const PvResult result = Sdk(Node()).GetMaxLength(maxLength);
  ApplyResultRule(result, "GetMaxLength", __FILE__, __LINE__);
  return maxLength;
}

std::string GenString::GetValue() {
  PvString value;
  const PvResult result = Sdk(Node()).GetValue(value);
  ApplyResultRule(result, "GetValue", __FILE__, __LINE__);
  return value.GetAscii();
}

void GenString::SetValue(const std::string& value) {
  const PvResult result = Sdk(Node()).SetValue(PvString(value));
  ApplyResultRule(result, "SetValue", __FILE__, __LINE__);
}

}  // namespace quarx::sdkadaptor
