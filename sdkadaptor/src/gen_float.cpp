// Float nodes.
#include "sdkadaptor/src/gen_float.h"

#include <string>

#include "camerasdk/PvGenFloat.h"
#include "sdkadaptor/src/representation_converter.h"
#include "sdkadaptor/src/result_rule.h"
#include "sdkadaptor/src/sdk_node_cast.h"

namespace quarx::sdkadaptor {
namespace {

PvGenFloat& Sdk(PvGenParameter& node) { return SdkNodeAs<PvGenFloat>(node, "float"); }

}  // namespace

GenFloat::GenFloat(PvGenParameter* parameter) : GenParameter(parameter) {}

std::pair<double, double> GenFloat::GetRange() const {
  PvGenFloat& node = Sdk(Node());
  double maximum = 0.0;
  double minimum = 0.0;
  PvResult result = node.GetMax(maximum);
  ApplyResultRule(result, "GetRange", __FILE__, __LINE__);
  result = node.GetMin(minimum);
  ApplyResultRule(result, "GetRange", __FILE__, __LINE__);
  return {minimum, maximum};
}

double GenFloat::GetValue() const {
  double value = 0.0;
  const PvResult result = Sdk(Node()).GetValue(value);
  ApplyResultRule(result, "GetValue", __FILE__, __LINE__);
  return value;
}

void GenFloat::SetValue(double value) {
  const PvResult result = Sdk(Node()).SetValue(value);
  ApplyResultRule(result, "SetValue", __FILE__, __LINE__);
}

quarx::RepresentationTypeEnum GenFloat::GetRepresentationType() const {
  PvGenRepresentation representation = PvGenRepresentationUndefined;
  const PvResult result = Sdk(Node()).GetRepresentation(representation);
  ApplyResultRule(result, "GetRepresentationType", __FILE__, __LINE__);
  return RepresentationTypeConverter::ConvertTo(static_cast<int>(representation));
}

std::string GenFloat::GetUnit() const {
  PvString unit;
  const PvResult result = Sdk(Node()).GetUnit(unit);
  ApplyResultRule(result, "GetUnit", __FILE__, __LINE__);
  return unit.GetAscii();
}

}  // namespace quarx::sdkadaptor
