// Integer nodes.
#include "sdkadaptor/src/gen_integer.h"

#include <string>

#include "camerasdk/PvGenInteger.h"
#include "sdkadaptor/src/representation_converter.h"
#include "sdkadaptor/src/result_rule.h"
#include "sdkadaptor/src/sdk_node_cast.h"

namespace quarx::sdkadaptor {
namespace {

PvGenInteger& Sdk(PvGenParameter& node) { return SdkNodeAs<PvGenInteger>(node, "integer"); }

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
