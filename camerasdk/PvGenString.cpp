// String GenICam nodes over Aravis's string interface.
#include "camerasdk/PvGenString.h"

#include <string>

#include "camerasdk/arv_support.h"

using camerasdk_detail::ResultFromError;

PvGenString::PvGenString(PvGenParameterArray* owner, ArvGcFeatureNode* node)
    : PvGenParameter(owner, node, PvGenTypeString) {}

PvResult PvGenString::GetValue(PvString& value) const {
  PvResult result = CheckAccess(Access::kRead);
  if (result.IsFailure()) {
    return result;
  }
  GError* error = nullptr;
  const char* read = arv_gc_string_get_value(ARV_GC_STRING(node_), &error);
  if (error == nullptr) {
    value = PvString(camerasdk_detail::Text(read));
  }
  return ResultFromError(error);
}

PvResult PvGenString::SetValue(const PvString& value) {
  PvResult result = CheckAccess(Access::kWrite);
  if (result.IsFailure()) {
    return result;
  }
  // A text longer than the node holds cannot be stored whole: refused before anything is written.
  int64_t maxLength = 0;
  result = GetMaxLength(maxLength);
  if (result.IsFailure()) {
    return result;
  }
  if (static_cast<int64_t>(value.GetLength()) > maxLength) {
    return camerasdk_detail::Failure(PvResult::Code::INVALID_PARAMETER,
                                     "Value of " + name_ + " is longer than " + std::to_string(maxLength) + " bytes");
  }
  GError* error = nullptr;
  arv_gc_string_set_value(ARV_GC_STRING(node_), value.GetAscii(), &error);
  return ResultFromError(error);
}

PvResult PvGenString::GetMaxLength(int64_t& maxLength) const {
  PvResult result = CheckAttached();
  if (result.IsFailure()) {
    return result;
  }
  GError* error = nullptr;
  const gint64 read = arv_gc_string_get_max_length(ARV_GC_STRING(node_), &error);
  if (error == nullptr) {
    maxLength = read;
  }
  return ResultFromError(error);
}

PvResult PvGenString::FromString(const PvString& value) { return SetValue(value); }

PvResult PvGenString::ToString(PvString& value) const { return GetValue(value); }
