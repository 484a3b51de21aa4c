// Register nodes: raw bytes.
#include "sdkadaptor/src/gen_register.h"

#include <string>

#include "camerasdk/PvGenRegister.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "sdkadaptor/src/result_rule.h"

namespace quarx::sdkadaptor {
namespace {

constexpr CodeEnum kInvalidParameterType = 0x1000003;

// The node map builds every node as the class of its SDK type, so this fails only for a node
// made by hand over a node of another kind.
PvGenRegister& Sdk(PvGenParameter& node) {
  auto* typed = dynamic_cast<PvGenRegister*>(&node);
  if (typed == nullptr) {
    throw ExceptionSdkAdaptor(kInvalidParameterType, std::string(node.GetName().GetAscii()) + " is not register.");
  }
  return *typed;
}

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
