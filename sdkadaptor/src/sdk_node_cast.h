#pragma once
// The SDK node behind a typed adaptor node, as the SDK class of its kind. Included only by the
// typed nodes' sources.

#include <string>

#include "camerasdk/PvGenParameter.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"

namespace quarx::sdkadaptor {

// The node map builds every node as the class of its SDK type, so this fails only for a node
// made by hand over a node of another kind; `kind` names the expected kind in the failure.
template <class SdkNode>
SdkNode& SdkNodeAs(PvGenParameter& node, const char* kind) {
  constexpr CodeEnum kInvalidParameterType = 0x1000003;
  auto* typed = dynamic_cast<SdkNode*>(&node);
  if (typed == nullptr) {
    throw ExceptionSdkAdaptor(kInvalidParameterType, std::string(node.GetName().GetAscii()) + " is not " + kind + ".");
  }
  return *typed;
}

}  // namespace quarx::sdkadaptor
