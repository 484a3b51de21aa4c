// Enumeration entries over Aravis enum-entry nodes.
#include "camerasdk/PvGenEnumEntry.h"

#include "camerasdk/PvGenEnum.h"
#include "camerasdk/arv_support.h"

using camerasdk_detail::Failure;
using camerasdk_detail::ResultFromError;
using camerasdk_detail::Text;
using camerasdk_detail::VisibilityFromArv;

PvGenEnumEntry::PvGenEnumEntry(const PvGenEnum* owner, ArvGcEnumEntry* entry) : owner_(owner), entry_(entry) {}

PvResult PvGenEnumEntry::CheckAttached() const {
  return owner_->IsAttached() ? PvResult()
                              : Failure(PvResult::Code::NOT_CONNECTED, "Node map is not connected to a device");
}

PvResult PvGenEnumEntry::GetName(PvString& name) const {
  PvResult result = CheckAttached();
  if (result.IsOK()) {
    name = PvString(Text(arv_gc_feature_node_get_name(ARV_GC_FEATURE_NODE(entry_))));
  }
  return result;
}

PvResult PvGenEnumEntry::GetDisplayName(PvString& displayName) const {
  PvResult result = CheckAttached();
  if (result.IsOK()) {
    displayName = PvString(Text(arv_gc_feature_node_get_display_name(ARV_GC_FEATURE_NODE(entry_))));
  }
  return result;
}

PvResult PvGenEnumEntry::GetDescription(PvString& description) const {
  PvResult result = CheckAttached();
  if (result.IsOK()) {
    description = PvString(Text(arv_gc_feature_node_get_description(ARV_GC_FEATURE_NODE(entry_))));
  }
  return result;
}

PvResult PvGenEnumEntry::GetToolTip(PvString& toolTip) const {
  PvResult result = CheckAttached();
  if (result.IsOK()) {
    toolTip = PvString(Text(arv_gc_feature_node_get_tooltip(ARV_GC_FEATURE_NODE(entry_))));
  }
  return result;
}

PvResult PvGenEnumEntry::GetVisibility(PvGenVisibility& visibility) const {
  PvResult result = CheckAttached();
  if (result.IsOK()) {
    visibility = VisibilityFromArv(arv_gc_feature_node_get_visibility(ARV_GC_FEATURE_NODE(entry_)));
  }
  return result;
}

PvResult PvGenEnumEntry::GetValue(int64_t& value) const {
  PvResult result = CheckAttached();
  if (result.IsFailure()) {
    return result;
  }
  GError* error = nullptr;
  const gint64 read = arv_gc_enum_entry_get_value(entry_, &error);
  if (error == nullptr) {
    value = read;
  }
  return ResultFromError(error);
}

bool PvGenEnumEntry::IsAvailable() const {
  if (!owner_->IsAttached()) {
    return false;
  }
  GError* error = nullptr;
  ArvGcFeatureNode* node = ARV_GC_FEATURE_NODE(entry_);
  bool available = arv_gc_feature_node_is_implemented(node, &error) != FALSE;
  if (error == nullptr && available) {
    available = arv_gc_feature_node_is_available(node, &error) != FALSE;
  }
  if (error != nullptr) {
    g_error_free(error);
    return false;
  }
  return available;
}
