// String nodes.
#include "sdkadaptor/src/gen_string.h"

#include <string>

#include "camerasdk/PvGenString.h"
#include "sdkadaptor/src/result_rule.h"
#include "sdkadaptor/src/sdk_node_cast.h"

namespace quarx::sdkadaptor {
namespace {

PvGenString& Sdk(PvGenParameter& node) { return SdkNodeAs<PvGenString>(node, "string"); }

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
