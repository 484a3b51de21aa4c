// Enumeration GenICam nodes, with their entries kept in document order (Aravis lists them
// reversed).
#include "camerasdk/PvGenEnum.h"

#include <string>

#include "camerasdk/arv_support.h"

using camerasdk_detail::Failure;
using camerasdk_detail::ResultFromError;

PvGenEnum::PvGenEnum(PvGenParameterArray* owner, ArvGcFeatureNode* node) : PvGenParameter(owner, node, PvGenTypeEnum) {
  for (ArvDomNode* child = arv_dom_node_get_first_child(ARV_DOM_NODE(node)); child != nullptr;
       child = arv_dom_node_get_next_sibling(child)) {
    if (ARV_IS_GC_ENUM_ENTRY(child)) {
      entries_.push_back(std::make_unique<PvGenEnumEntry>(this, ARV_GC_ENUM_ENTRY(child)));
    }
  }
}

PvGenEnum::~PvGenEnum() = default;

PvResult PvGenEnum::GetValue(int64_t& value) const {
  PvResult result = CheckAccess(Access::kRead);
  if (result.IsFailure()) {
    return result;
  }
  GError* error = nullptr;
  const gint64 read = arv_gc_enumeration_get_int_value(ARV_GC_ENUMERATION(node_), &error);
  if (error == nullptr) {
    value = read;
  }
  return ResultFromError(error);
}

PvResult PvGenEnum::GetValue(PvString& value) const {
  int64_t number = 0;
  PvResult result = GetValue(number);
  if (result.IsFailure()) {
    return result;
  }
  const PvGenEnumEntry* entry = nullptr;
  result = GetEntryByValue(number, entry);
  if (result.IsFailure()) {
    return Failure(PvResult::Code::GENERIC_ERROR,
                   name_ + " holds the value " + std::to_string(number) + ", which no entry has");
  }
  return entry->GetName(value);
}

PvResult PvGenEnum::SetValue(int64_t value) {
  PvResult result = CheckAccess(Access::kWrite);
  if (result.IsFailure()) {
    return result;
  }
  const PvGenEnumEntry* entry = nullptr;
  result = GetEntryByValue(value, entry);
  if (result.IsFailure()) {
    return result;
  }
  if (!entry->IsAvailable()) {
    return Failure(PvResult::Code::INVALID_PARAMETER,
                   "Entry with value " + std::to_string(value) + " of " + name_ + " is not available");
  }
  GError* error = nullptr;
  arv_gc_enumeration_set_int_value(ARV_GC_ENUMERATION(node_), value, &error);
  return ResultFromError(error);
}

PvResult PvGenEnum::SetValue(const PvString& value) {
  PvResult result = CheckAccess(Access::kWrite);
  if (result.IsFailure()) {
    return result;
  }
  const PvGenEnumEntry* entry = nullptr;
  result = GetEntryByName(value, entry);
  if (result.IsFailure()) {
    return result;
  }
  if (!entry->IsAvailable()) {
    return Failure(PvResult::Code::INVALID_PARAMETER,
                   "Entry " + std::string(value.GetAscii()) + " of " + name_ + " is not available");
  }
  int64_t number = 0;
  result = entry->GetValue(number);
  if (result.IsFailure()) {
    return result;
  }
  GError* error = nullptr;
  arv_gc_enumeration_set_int_value(ARV_GC_ENUMERATION(node_), number, &error);
  return ResultFromError(error);
}

PvResult PvGenEnum::GetEntriesCount(int64_t& count) const {
  PvResult result = CheckAttached();
  if (result.IsOK()) {
    count = static_cast<int64_t>(entries_.size());
  }
  return result;
}

PvResult PvGenEnum::GetEntryByIndex(int64_t index, const PvGenEnumEntry*& entry) const {
  PvResult result = CheckAttached();
  if (result.IsFailure()) {
    return result;
  }
  if (index < 0 || index >= static_cast<int64_t>(entries_.size())) {
    return Failure(PvResult::Code::INVALID_PARAMETER,
                   "Entry index " + std::to_string(index) + " of " + name_ + " is out of range");
  }
  entry = entries_[static_cast<size_t>(index)].get();
  return result;
}

PvResult PvGenEnum::GetEntryByName(const PvString& name, const PvGenEnumEntry*& entry) const {
  PvResult result = CheckAttached();
  if (result.IsFailure()) {
    return result;
  }
  for (const auto& candidate : entries_) {
    PvString candidateName;
    if (candidate->GetName(candidateName).IsOK() && std::string(candidateName.GetAscii()) == name.GetAscii()) {
      entry = candidate.get();
      return result;
    }
  }
  return Failure(PvResult::Code::NOT_FOUND, name_ + " has no entry " + name.GetAscii());
}

PvResult PvGenEnum::GetEntryByValue(int64_t value, const PvGenEnumEntry*& entry) const {
  PvResult result = CheckAttached();
  if (result.IsFailure()) {
    return result;
  }
  for (const auto& candidate : entries_) {
    int64_t candidateValue = 0;
    if (candidate->GetValue(candidateValue).IsOK() && candidateValue == value) {
      entry = candidate.get();
      return result;
    }
  }
  return Failure(PvResult::Code::NOT_FOUND, name_ + " has no entry with value " + std::to_string(value));
}

PvResult PvGenEnum::FromString(const PvString& value) { return SetValue(value); }

PvResult PvGenEnum::ToString(PvString& value) const { return GetValue(value); }
