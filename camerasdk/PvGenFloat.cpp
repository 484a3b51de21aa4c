// Floating-point GenICam nodes over Aravis's float interface.
#include "camerasdk/PvGenFloat.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

#include "camerasdk/arv_support.h"

using camerasdk_detail::Failure;
using camerasdk_detail::ResultFromError;

namespace {

bool ParseFloat(const std::string& text, double& value) {
  if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) {
    return false;
  }
  char* end = nullptr;
  const double parsed = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || *end != '\0' || !std::isfinite(parsed)) {
    return false;
  }
  value = parsed;
  return true;
}

}  // namespace

PvGenFloat::PvGenFloat(PvGenParameterArray* owner, ArvGcFeatureNode* node)
    : PvGenParameter(owner, node, PvGenTypeFloat) {}

PvResult PvGenFloat::GetValue(double& value) const {
  PvResult result = CheckAccess(Access::kRead);
  if (result.IsFailure()) {
    return result;
  }
  GError* error = nullptr;
  const double read = arv_gc_float_get_value(ARV_GC_FLOAT(node_), &error);
  if (error == nullptr) {
    value = read;
  }
  return ResultFromError(error);
}

PvResult PvGenFloat::SetValue(double value) {
  PvResult result = CheckAccess(Access::kWrite);
  if (result.IsFailure()) {
    return result;
  }
  GError* error = nullptr;
  arv_gc_float_set_value(ARV_GC_FLOAT(node_), value, &error);
  return ResultFromError(error);
}

PvResult PvGenFloat::GetMin(double& minimum) const {
  PvResult result = CheckAttached();
  if (result.IsFailure()) {
    return result;
  }
  GError* error = nullptr;
  const double read = arv_gc_float_get_min(ARV_GC_FLOAT(node_), &error);
  if (error == nullptr) {
    minimum = read;
  }
  return ResultFromError(error);
}

PvResult PvGenFloat::GetMax(double& maximum) const {
  PvResult result = CheckAttached();
  if (result.IsFailure()) {
    return result;
  }
  GError* error = nullptr;
  const double read = arv_gc_float_get_max(ARV_GC_FLOAT(node_), &error);
  if (error == nullptr) {
    maximum = read;
  }
  return ResultFromError(error);
}

PvResult PvGenFloat::GetRepresentation(PvGenRepresentation& representation) const {
  PvResult result = CheckAttached();
  if (result.IsOK()) {
    representation = camerasdk_detail::RepresentationFromArv(arv_gc_float_get_representation(ARV_GC_FLOAT(node_)));
  }
  return result;
}

PvResult PvGenFloat::GetUnit(PvString& unit) const {
  PvResult result = CheckAttached();
  if (result.IsOK()) {
    unit = PvString(camerasdk_detail::Text(arv_gc_float_get_unit(ARV_GC_FLOAT(node_))));
  }
  return result;
}

PvResult PvGenFloat::FromString(const PvString& value) {
  double parsed = 0.0;
  if (!ParseFloat(value.GetAscii(), parsed)) {
    return Failure(PvResult::Code::INVALID_PARAMETER,
                   "Invalid float value(" + std::string(value.GetAscii()) + ") for " + name_);
  }
  return SetValue(parsed);
}

PvResult PvGenFloat::ToString(PvString& value) const {
  double read = 0.0;
  PvResult result = GetValue(read);
  if (result.IsOK()) {
    // The shortest text that reads back as the same number.
    char text[64];
    const auto converted = std::to_chars(text, text + sizeof(text), read);
    value = PvString(std::string(text, converted.ptr));
  }
  return result;
}
