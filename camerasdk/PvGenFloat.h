#pragma once
// A floating-point GenICam node (Float, FloatReg, SwissKnife, Converter).

#include "camerasdk/PvGenParameter.h"

class PvGenFloat : public PvGenParameter {
 public:
  PvGenFloat(PvGenParameterArray* owner, ArvGcFeatureNode* node);

  PvResult GetValue(double& value) const;
  PvResult SetValue(double value);
  PvResult GetMin(double& minimum) const;
  PvResult GetMax(double& maximum) const;
  PvResult GetRepresentation(PvGenRepresentation& representation) const;
  PvResult GetUnit(PvString& unit) const;

  // A whole finite number; anything else in the text is refused.
  PvResult FromString(const PvString& value) override;
  PvResult ToString(PvString& value) const override;
};
