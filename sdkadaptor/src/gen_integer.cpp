// Integer nodes.
#include "sdkadaptor/src/gen_integer.h"

#include <string>

#include "camerasdk/PvGenInteger.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "sdkadaptor/src/representation_converter.h"
#include "sdkadaptor/src/result_rule.h"

namespace quarx::sdkadaptor {
namespace {

constexpr CodeEnum kInvalidParameterType = 0x1000003;

// The node map builds every node as the class of its SDK type, so this fails only for a node
// made by hand over a node of another kind.
PvGenInteger& Sdk(PvGenParameter& node) {
  auto* typed = dynamic_cast<PvGenInteger*>(&node);
  if (typed == nullptr) {
    throw ExceptionSdkAdaptor(kInvalidParameterType, std::string(node.GetName().GetAscii()) + " is not integer.");
  }
  return *typed;
}

}  // namespace

GenInteger::GenInteger(PvGenParameter* parameter) : GenParameter(parameter) {}

int64_t GenInteger::GetIncrement() const {
  int64_t increment = 0;
  const PvResult result = Sdk(Node()).GetIncrement(increment);
  ApplyResultRule(result, "GetIncrement", __FILE__, __LINE__);
  return increment;
}

std::pair<int64_t, int64_t> GenInteger::GetRange() const {
  PvGenInteger& node = Sdk(Node());
  int64_t minimum = 0;
  int64_t maximum = 0;
  PvResult result = node.GetMin(minimum);
  ApplyResultRule(result, "GetRange", __FILE__, __LINE__);
  result = node.GetMax(maximum);
  ApplyResultRule(result, "GetRange", __FILE__, __LINE__);
  return {minimum, maximum};
}

int64_t GenInteger::GetValue() const {
  int64_t value = 0;
  const PvResult result = Sdk(Node()).GetValue(value);
  ApplyResultRule(result, "GetValue", __FILE__, __LINE__);
  return value;
}

void GenInteger::SetValue(int64_t value) {
  const PvResult result = Sdk(Node()).SetValue(value);
  ApplyResultRule(result, "SetValue", __FILE__, __LINE__);
}

quarx::RepresentationTypeEnum GenInteger::GetRepresentationType() const {
  PvGenRepresentation representation = PvGenRepresentationUndefined;
  const PvResult result = Sdk(Node()).GetRepresentation(representation);
  ApplyResultRule(result, "GetRepresentationType", __FILE__, __LINE__);
  return RepresentationTypeConverter::ConvertTo(static_cast<int>(representation));
}

std::string GenInteger::GetUnit() const {
  PvString unit;
  const PvResult result = Sdk(Node()).GetUnit(unit);
  ApplyResultRule(result, "GetUnit", __FILE__, __LINE__);
  return unit.GetAscii();
}

}  // namespace quarx::sdkadaptor
