#pragma once
// An integer GenICam node (Integer, IntReg, MaskedIntReg, IntSwissKnife, IntConverter, StructEntry).

#include <cstdint>

#include "camerasdk/PvGenParameter.h"

class PvGenInteger : public PvGenParameter {
 public:
  PvGenInteger(PvGenParameterArray* owner, ArvGcFeatureNode* node);

  PvResult GetValue(int64_t& value) const;
  PvResult SetValue(int64_t value);
  PvResult GetMin(int64_t& minimum) const;
  PvResult GetMax(int64_t& maximum) const;
  PvResult GetIncrement(int64_t& increment) const;
  PvResult GetRepresentation(PvGenRepresentation& representation) const;
  PvResult GetUnit(PvString& unit) const;

  // Decimal, or hexadecimal after "0x", whole; anything else in the text is refused. A leading
  // zero does not make the number octal.
  PvResult FromString(const PvString& value) override;
  PvResult ToString(PvString& value) const override;
};
