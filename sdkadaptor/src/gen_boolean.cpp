// Boolean nodes: value access and text lowered before the SDK reads it.
#include "sdkadaptor/src/gen_boolean.h"

#include <cctype>
#include <string>

#include "camerasdk/PvGenBoolean.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "sdkadaptor/src/result_rule.h"

namespace quarx::sdkadaptor {
namespace {

constexpr CodeEnum kInvalidParameterType = 0x1000003;

// The node map builds every node as the class of its SDK type, so this fails only for a node
// made by hand over a node of another kind.
PvGenBoolean& Sdk(PvGenParameter& node) {
  auto* typed = dynamic_cast<PvGenBoolean*>(&node);
  if (typed == nullptr) {
    throw ExceptionSdkAdaptor(kInvalidParameterType, std::string(node.GetName().GetAscii()) + " is not boolean.");
  }
  return *typed;
}

}  // namespace

GenBoolean::GenBoolean(PvGenParameter* parameter) : GenParameter(parameter) {}

void GenBoolean::FromString(const std::string& value) {
  std::string lowered = value;
  for (char& c : lowered) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  const PvResult result = Node().FromString(PvString(lowered));
  ApplyResultRule(result, "FromString", __FILE__, __LINE__);
}

bool GenBoolean::GetValue() const {
  bool value = false;
  const PvResult result = Sdk(Node()).GetValue(value);
  Result::ThrowExceptionWhenError(result, __FILE__, __LINE__);
  return value;
}

void GenBoolean::SetValue(bool value) {
  const PvResult result = Sdk(Node()).SetValue(value);
  Result::ThrowExceptionWhenError(result, __FILE__, __LINE__);
}

}  // namespace quarx::sdkadaptor
