// Generic GenICam node operations over Aravis feature nodes, with the access checks whose
// texts the core classifies failures by.
#include "camerasdk/PvGenParameter.h"

#include "camerasdk/PvGenParameterArray.h"
#include "camerasdk/arv_support.h"

using camerasdk_detail::Failure;
using camerasdk_detail::ResultFromError;
using camerasdk_detail::Text;
using camerasdk_detail::VisibilityFromArv;

namespace {

constexpr const char* kDetached = "Node map is not connected to a device";

// A flag whose evaluation failed (for example a register that cannot be read) is false.
bool FlagOrFalse(gboolean (*query)(ArvGcFeatureNode*, GError**), ArvGcFeatureNode* node) {
  GError* error = nullptr;
  const bool value = query(node, &error) != FALSE;
  if (error != nullptr) {
    g_error_free(error);
    return false;
  }
  return value;
}

}  // namespace

PvGenParameter::PvGenParameter(PvGenParameterArray* owner, ArvGcFeatureNode* node, PvGenType type)
    : owner_(owner), node_(node), name_(Text(arv_gc_feature_node_get_name(node))), type_(type) {}

PvGenParameter::~PvGenParameter() = default;

PvResult PvGenParameter::CheckAttached() const {
  return node_ == nullptr ? Failure(PvResult::Code::NOT_CONNECTED, kDetached) : PvResult();
}

PvResult PvGenParameter::CheckAccess(Access access) const {
  PvResult result = CheckAttached();
  if (result.IsFailure()) {
    return result;
  }
  GError* error = nullptr;
  const bool implemented = arv_gc_feature_node_is_implemented(node_, &error) != FALSE;
  if (error != nullptr) {
    return ResultFromError(error);
  }
  const bool available = implemented && arv_gc_feature_node_is_available(node_, &error) != FALSE;
  if (error != nullptr) {
    return ResultFromError(error);
  }
  if (!available) {
    return Failure(PvResult::Code::GENERIC_ERROR, camerasdk_detail::kNotAvailable);
  }
  const ArvGcAccessMode mode = arv_gc_feature_node_get_actual_access_mode(node_);
  if (access == Access::kRead) {
    if (mode != ARV_GC_ACCESS_MODE_RO && mode != ARV_GC_ACCESS_MODE_RW) {
      return Failure(PvResult::Code::GENERIC_ERROR, camerasdk_detail::kNotReadable);
    }
    return PvResult();
  }
  if (mode != ARV_GC_ACCESS_MODE_WO && mode != ARV_GC_ACCESS_MODE_RW) {
    return Failure(PvResult::Code::GENERIC_ERROR, camerasdk_detail::kNotWritable);
  }
  const bool locked = arv_gc_feature_node_is_locked(node_, &error) != FALSE;
  if (error != nullptr) {
    return ResultFromError(error);
  }
  return locked ? Failure(PvResult::Code::GENERIC_ERROR, camerasdk_detail::kNotWritable) : PvResult();
}

PvResult PvGenParameter::GetName(PvString& name) const {
  name = PvString(name_);
  return PvResult();
}

PvResult PvGenParameter::GetCategory(PvString& category) const {
  PvResult result = CheckAttached();
  if (result.IsOK()) {
    category = PvString(owner_->GetCategoryOf(name_));
  }
  return result;
}

PvResult PvGenParameter::GetDescription(PvString& description) const {
  PvResult result = CheckAttached();
  if (result.IsOK()) {
    description = PvString(Text(arv_gc_feature_node_get_description(node_)));
  }
  return result;
}

PvResult PvGenParameter::GetDisplayName(PvString& displayName) const {
  PvResult result = CheckAttached();
  if (result.IsOK()) {
    displayName = PvString(Text(arv_gc_feature_node_get_display_name(node_)));
  }
  return result;
}

PvResult PvGenParameter::GetToolTip(PvString& toolTip) const {
  PvResult result = CheckAttached();
  if (result.IsOK()) {
    toolTip = PvString(Text(arv_gc_feature_node_get_tooltip(node_)));
  }
  return result;
}

PvResult PvGenParameter::GetType(PvGenType& type) const {
  type = type_;
  return PvResult();
}

PvResult PvGenParameter::GetVisibility(PvGenVisibility& visibility) const {
  PvResult result = CheckAttached();
  if (result.IsOK()) {
    visibility = VisibilityFromArv(arv_gc_feature_node_get_visibility(node_));
  }
  return result;
}

PvResult PvGenParameter::IsSelector(bool& selector) const {
  PvResult result = CheckAttached();
  if (result.IsOK()) {
    selector = ARV_IS_GC_SELECTOR(node_) && arv_gc_selector_is_selector(ARV_GC_SELECTOR(node_));
  }
  return result;
}

PvResult PvGenParameter::GetSelectingParameters(PvGenParameterList& list) const {
  list.Clear();
  PvResult result = CheckAttached();
  if (result.IsOK()) {
    for (PvGenParameter* selecting : owner_->GetSelectingOf(name_)) {
      list.Add(selecting);
    }
  }
  return result;
}

PvResult PvGenParameter::GetSelectedParameters(PvGenParameterList& list) const {
  list.Clear();
  PvResult result = CheckAttached();
  if (result.IsFailure() || !ARV_IS_GC_SELECTOR(node_)) {
    return result;
  }
  for (const GSList* item = arv_gc_selector_get_selected_features(ARV_GC_SELECTOR(node_)); item != nullptr;
       item = item->next) {
    if (!ARV_IS_GC_FEATURE_NODE(item->data)) {
      continue;
    }
    PvGenParameter* selected =
        owner_->Get(PvString(Text(arv_gc_feature_node_get_name(ARV_GC_FEATURE_NODE(item->data)))));
    if (selected != nullptr) {
      list.Add(selected);
    }
  }
  return result;
}

bool PvGenParameter::IsAvailable() const {
  return node_ != nullptr && FlagOrFalse(arv_gc_feature_node_is_implemented, node_) &&
         FlagOrFalse(arv_gc_feature_node_is_available, node_);
}

bool PvGenParameter::IsImplemented() const {
  return node_ != nullptr && FlagOrFalse(arv_gc_feature_node_is_implemented, node_);
}

bool PvGenParameter::IsPersistent() const { return IsStreamable(); }

bool PvGenParameter::IsReadable() const { return CheckAccess(Access::kRead).IsOK(); }

bool PvGenParameter::IsStreamable() const {
  return node_ != nullptr && camerasdk_detail::ChildText(ARV_DOM_NODE(node_), "Streamable") == "Yes";
}

// Register caching is off, so no value is ever served from a cache.
bool PvGenParameter::IsValueCached() const { return false; }

bool PvGenParameter::IsWritable() const { return CheckAccess(Access::kWrite).IsOK(); }

PvResult PvGenParameter::FromString(const PvString& value) {
  PvResult result = CheckAccess(Access::kWrite);
  if (result.IsFailure()) {
    return result;
  }
  GError* error = nullptr;
  arv_gc_feature_node_set_value_from_string(node_, value.GetAscii(), &error);
  return ResultFromError(error);
}

PvResult PvGenParameter::ToString(PvString& value) const {
  PvResult result = CheckAccess(Access::kRead);
  if (result.IsFailure()) {
    return result;
  }
  GError* error = nullptr;
  const char* text = arv_gc_feature_node_get_value_as_string(node_, &error);
  if (error != nullptr) {
    return ResultFromError(error);
  }
  value = PvString(Text(text));
  return PvResult();
}
