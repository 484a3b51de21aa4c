// Integer GenICam nodes over Aravis's integer interface.
#include "camerasdk/PvGenInteger.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <string>

#include "camerasdk/arv_support.h"

using camerasdk_detail::Failure;
using camerasdk_detail::ResultFromError;

namespace {

constexpr int kDecimal = 10;
constexpr int kHexadecimal = 16;

bool ParseInteger(const std::string& text, int64_t& value) {
  std::string digits = text;
  int base = kDecimal;
  std::string sign;
  if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) {
    sign = digits.substr(0, 1);
    digits = digits.substr(1);
  }
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    base = kHexadecimal;
    digits = digits.substr(2);
  }
  // strtoll would skip blanks and take a second sign; neither belongs after the prefix.
  if (digits.empty() || !std::isxdigit(static_cast<unsigned char>(digits[0]))) {
    return false;
  }
  const std::string number = sign + digits;
  errno = 0;
  char* end = nullptr;
  const long long parsed = std::strtoll(number.c_str(), &end, base);
  if (errno == ERANGE || end == number.c_str() || *end != '\0') {
    return false;
  }
  value = parsed;
  return true;
}

}  // namespace

PvGenInteger::PvGenInteger(PvGenParameterArray* owner, ArvGcFeatureNode* node)
    : PvGenParameter(owner, node, PvGenTypeInteger) {}

PvResult PvGenInteger::GetValue(int64_t& value) const {
  PvResult result = CheckAccess(Access::kRead);
  if (result.IsFailure()) {
    return result;
  }
  GError* error = nullptr;
  const gint64 read = arv_gc_integer_get_value(ARV_GC_INTEGER(node_), &error);
  if (error == nullptr) {
    value = read;
  }
  return ResultFromError(error);
}

PvResult PvGenInteger::SetValue(int64_t value) {
  PvResult result = CheckAccess(Access::kWrite);
  if (result.IsFailure()) {
    return result;
  }
  GError* error = nullptr;
  arv_gc_integer_set_value(ARV_GC_INTEGER(node_), value, &error);
  return ResultFromError(error);
}

PvResult PvGenInteger::GetMin(int64_t& minimum) const {
  PvResult result = CheckAttached();
  if (result.IsFailure()) {
    return result;
  }
  GError* error = nullptr;
  const gint64 read = arv_gc_integer_get_min(ARV_GC_INTEGER(node_), &error);
  if (error == nullptr) {
    minimum = read;
  }
  return ResultFromError(error);
}

PvResult PvGenInteger::GetMax(int64_t& maximum) const {
  PvResult result = CheckAttached();
  if (result.IsFailure()) {
    return result;
  }
  GError* error = nullptr;
  const gint64 read = arv_gc_integer_get_max(ARV_GC_INTEGER(node_), &error);
  if (error == nullptr) {
    maximum = read;
  }
  return ResultFromError(error);
}

PvResult PvGenInteger::GetIncrement(int64_t& increment) const {
  PvResult result = CheckAttached();
  if (result.IsFailure()) {
    return result;
  }
  GError* error = nullptr;
  const gint64 read = arv_gc_integer_get_inc(ARV_GC_INTEGER(node_), &error);
  if (error == nullptr) {
    increment = read;
  }
  return ResultFromError(error);
}

PvResult PvGenInteger::GetRepresentation(PvGenRepresentation& representation) const {
  PvResult result = CheckAttached();
  if (result.IsOK()) {
    representation = camerasdk_detail::RepresentationFromArv(arv_gc_integer_get_representation(ARV_GC_INTEGER(node_)));
  }
  return result;
}

PvResult PvGenInteger::GetUnit(PvString& unit) const {
  PvResult result = CheckAttached();
  if (result.IsOK()) {
    unit = PvString(camerasdk_detail::Text(arv_gc_integer_get_unit(ARV_GC_INTEGER(node_))));
  }
  return result;
}

PvResult PvGenInteger::FromString(const PvString& value) {
  int64_t parsed = 0;
  if (!ParseInteger(value.GetAscii(), parsed)) {
    return Failure(PvResult::Code::INVALID_PARAMETER,
                   "Invalid integer value(" + std::string(value.GetAscii()) + ") for " + name_);
  }
  return SetValue(parsed);
}

PvResult PvGenInteger::ToString(PvString& value) const {
  int64_t read = 0;
  PvResult result = GetValue(read);
  if (result.IsOK()) {
    value = PvString(std::to_string(read));
  }
  return result;
}
