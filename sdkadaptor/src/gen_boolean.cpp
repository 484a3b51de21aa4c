// Boolean nodes: value access and text lowered before the SDK reads it.
#include "sdkadaptor/src/gen_boolean.h"

#include <cctype>
#include <string>

#include "camerasdk/PvGenBoolean.h"
#include "sdkadaptor/src/result_rule.h"
#include "sdkadaptor/src/sdk_node_cast.h"

namespace quarx::sdkadaptor {
namespace {

PvGenBoolean& Sdk(PvGenParameter& node) { return SdkNodeAs<PvGenBoolean>(node, "boolean"); }

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
