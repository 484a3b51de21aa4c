// Boolean GenICam nodes over Aravis's boolean node.
#include "camerasdk/PvGenBoolean.h"

#include <string>

#include "camerasdk/arv_support.h"

using camerasdk_detail::Failure;
using camerasdk_detail::ResultFromError;

PvGenBoolean::PvGenBoolean(PvGenParameterArray* owner, ArvGcFeatureNode* node)
    : PvGenParameter(owner, node, PvGenTypeBoolean) {}

PvResult PvGenBoolean::GetValue(bool& value) const {
  PvResult result = CheckAccess(Access::kRead);
  if (result.IsFailure()) {
    return result;
  }
  GError* error = nullptr;
  const gboolean read = arv_gc_boolean_get_value(ARV_GC_BOOLEAN(node_), &error);
  if (error == nullptr) {
    value = read != FALSE;
  }
  return ResultFromError(error);
}

PvResult PvGenBoolean::SetValue(bool value) {
  PvResult result = CheckAccess(Access::kWrite);
  if (result.IsFailure()) {
    return result;
  }
  GError* error = nullptr;
  arv_gc_boolean_set_value(ARV_GC_BOOLEAN(node_), value ? TRUE : FALSE, &error);
  return ResultFromError(error);
}

PvResult PvGenBoolean::FromString(const PvString& value) {
  // The adaptor lowers the text first, so these are all the words a user means.
  const std::string text = value.GetAscii();
  if (text == "true" || text == "1") {
    return SetValue(true);
  }
  if (text == "false" || text == "0") {
    return SetValue(false);
  }
  return Failure(PvResult::Code::INVALID_PARAMETER, "Invalid boolean value(" + text + ") for " + name_);
}

PvResult PvGenBoolean::ToString(PvString& value) const {
  bool read = false;
  PvResult result = GetValue(read);
  if (result.IsOK()) {
    value = PvString(read ? "true" : "false");
  }
  return result;
}
