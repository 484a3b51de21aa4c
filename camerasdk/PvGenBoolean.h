#pragma once
// A boolean GenICam node.

#include "camerasdk/PvGenParameter.h"

class PvGenBoolean : public PvGenParameter {
 public:
  PvGenBoolean(PvGenParameterArray* owner, ArvGcFeatureNode* node);

  PvResult GetValue(bool& value) const;
  PvResult SetValue(bool value);

  // "true", "false", "1" or "0"; any other word is refused.
  PvResult FromString(const PvString& value) override;
  PvResult ToString(PvString& value) const override;
};
