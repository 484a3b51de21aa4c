#pragma once
// One entry of an enumeration node.

#include <cstdint>

#include "camerasdk/PvGenTypes.h"
#include "camerasdk/PvResult.h"
#include "camerasdk/PvString.h"

typedef struct _ArvGcEnumEntry ArvGcEnumEntry;
class PvGenEnum;

class PvGenEnumEntry {
 public:
  // Made by its enumeration only; valid while the enumeration is.
  PvGenEnumEntry(const PvGenEnum* owner, ArvGcEnumEntry* entry);

  PvResult GetName(PvString& name) const;
  PvResult GetDisplayName(PvString& displayName) const;
  PvResult GetDescription(PvString& description) const;
  PvResult GetToolTip(PvString& toolTip) const;
  PvResult GetVisibility(PvGenVisibility& visibility) const;
  PvResult GetValue(int64_t& value) const;
  bool IsAvailable() const;

 private:
  PvResult CheckAttached() const;

  const PvGenEnum* owner_;
  ArvGcEnumEntry* entry_;
};
