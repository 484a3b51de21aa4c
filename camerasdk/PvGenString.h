#pragma once
// A string GenICam node (String, StringReg).

#include <cstdint>

#include "camerasdk/PvGenParameter.h"

class PvGenString : public PvGenParameter {
 public:
  PvGenString(PvGenParameterArray* owner, ArvGcFeatureNode* node);

  PvResult GetValue(PvString& value) const;
  PvResult SetValue(const PvString& value);
  PvResult GetMaxLength(int64_t& maxLength) const;

  PvResult FromString(const PvString& value) override;
  PvResult ToString(PvString& value) const override;
};
