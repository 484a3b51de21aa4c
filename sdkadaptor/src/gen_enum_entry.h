#pragma once
// One entry of an enumeration node: the abstract entry the core holds and its SDK wrapper.

#include <cstdint>
#include <string>

#include "sdkadaptor/src/quarx_types.h"

class PvGenEnumEntry;

namespace quarx::sdkadaptor {

class InterfaceGenEnumEntry {
 public:
  virtual ~InterfaceGenEnumEntry() = default;

  virtual std::string GetDescription() const = 0;
  virtual std::string GetDisplayName() const = 0;
  virtual std::string GetName() const = 0;
  virtual std::string GetToolTip() const = 0;
  virtual quarx::VisibilityTypeEnum GetVisibility() const = 0;
  virtual int64_t GetValue() const = 0;
  virtual bool IsAvailable() const = 0;
};

class GenEnumEntry : public InterfaceGenEnumEntry {
 public:
  // The entry is borrowed from its enumeration node.
  explicit GenEnumEntry(const PvGenEnumEntry* entry);

  std::string GetDescription() const override;
  std::string GetDisplayName() const override;
  std::string GetName() const override;
  std::string GetToolTip() const override;
  quarx::VisibilityTypeEnum GetVisibility() const override;
  int64_t GetValue() const override;
  bool IsAvailable() const override;

 private:
  const PvGenEnumEntry& Entry() const;

  const PvGenEnumEntry* entry_;
};

}  // namespace quarx::sdkadaptor
