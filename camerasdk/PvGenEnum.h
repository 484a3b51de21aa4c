#pragma once
// An enumeration GenICam node: its value by number or entry name, and its entries in the
// order the camera's description lists them.

#include <cstdint>
#include <memory>
#include <vector>

#include "camerasdk/PvGenEnumEntry.h"
#include "camerasdk/PvGenParameter.h"

class PvGenEnum : public PvGenParameter {
 public:
  PvGenEnum(PvGenParameterArray* owner, ArvGcFeatureNode* node);
  ~PvGenEnum() override;

  PvResult GetValue(int64_t& value) const;
  PvResult GetValue(PvString& value) const;
  PvResult SetValue(int64_t value);
  PvResult SetValue(const PvString& value);
  PvResult GetEntriesCount(int64_t& count) const;
  PvResult GetEntryByIndex(int64_t index, const PvGenEnumEntry*& entry) const;
  PvResult GetEntryByName(const PvString& name, const PvGenEnumEntry*& entry) const;
  PvResult GetEntryByValue(int64_t value, const PvGenEnumEntry*& entry) const;

  PvResult FromString(const PvString& value) override;
  PvResult ToString(PvString& value) const override;

  bool IsAttached() const { return node_ != nullptr; }

 private:
  std::vector<std::unique_ptr<PvGenEnumEntry>> entries_;
};
