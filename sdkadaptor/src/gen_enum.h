#pragma once
// An enumeration GenICam node: its value by number or by entry name, and its entries.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sdkadaptor/src/gen_enum_entry.h"
#include "sdkadaptor/src/gen_parameter.h"

namespace quarx::sdkadaptor {

class GenEnum : public GenParameter {
 public:
  explicit GenEnum(PvGenParameter* parameter);

  int64_t GetValueAsInt64() const;
  void SetValue(uint64_t value);
  std::string GetValueAsString() const;
  void SetValue(const std::string& value);
  // Entries in the camera's index order; with availableOnly the unavailable ones are left out.
  std::vector<std::unique_ptr<InterfaceGenEnumEntry>> GetEntries(bool availableOnly) const;
};

}  // namespace quarx::sdkadaptor
