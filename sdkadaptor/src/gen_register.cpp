// Register nodes: raw bytes.
#include "sdkadaptor/src/gen_register.h"

#include <string>

#include "camerasdk/PvGenRegister.h"
#include "sdkadaptor/src/result_rule.h"
#include "sdkadaptor/src/sdk_node_cast.h"

namespace quarx::sdkadaptor {
namespace {

PvGenRegister& Sdk(PvGenParameter& node) { return SdkNodeAs<PvGenRegister>(node, "register"); }

}  // namespace

GenRegister::GenRegister(PvGenParameter* parameter) : GenParameter(parameter) {}

void GenRegister::Get(uint8_t* buffer, int64_t length) const {
  const PvResult result = Sdk(Node()).Get(buffer, length);
  ApplyResultRule(result, "Get", __FILE__, __LINE__);
}

int64_t GenRegister::GetLength() const {
  int64_t length = 0;
  const PvResult result = Sdk(Node()).GetLength(length);
  ApplyResultRule(result, "GetLength", __FILE__, __LINE__);
  return length;
}

}  // namespace quarx::sdkadaptor
