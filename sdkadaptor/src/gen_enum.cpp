// Enumeration nodes: value by number or entry name, and the entries in the camera's order.
#include "sdkadaptor/src/gen_enum.h"

#include <string>

#include "camerasdk/PvGenEnum.h"
#include "sdkadaptor/src/result_rule.h"
#include "sdkadaptor/src/sdk_node_cast.h"

namespace quarx::sdkadaptor {
namespace {

PvGenEnum& Sdk(PvGenParameter& node) { return SdkNodeAs<PvGenEnum>(node, "enum"); }

}  // namespace

GenEnum::GenEnum(PvGenParameter* parameter) : GenParameter(parameter) {}

int64_t GenEnum::GetValueAsInt64() const {
  int64_t value = 0;
  const PvResult result = Sdk(Node()).GetValue(value);
  ApplyResultRule(result, "GetValueAsInt64", __FILE__, __LINE__);
  return value;
}

void GenEnum::SetValue(uint64_t value) {
  const PvResult result = Sdk(Node()).SetValue(static_cast<int64_t>(value));
  ApplyResultRule(result, "SetValue", __FILE__, __LINE__);
}

std::string GenEnum::GetValueAsString() const {
  PvString value;
  const PvResult result = Sdk(Node()).GetValue(value);
  ApplyResultRule(result, "GetValueAsString", __FILE__, __LINE__);
  return value.GetAscii();
}

void GenEnum::SetValue(const std::string& value) {
  const PvResult result = Sdk(Node()).SetValue(PvString(value));
  ApplyResultRule(result, "SetValue", __FILE__, __LINE__);
}

std::vector<std::unique_ptr<InterfaceGenEnumEntry>> GenEnum::GetEntries(bool availableOnly) const {
  PvGenEnum& node = Sdk(Node());
  int64_t count = 0;
  PvResult result = node.GetEntriesCount(count);
  ApplyResultRule(result, "GetEntries", __FILE__, __LINE__);
  std::vector<std::unique_ptr<InterfaceGenEnumEntry>> entries;
  for (int64_t index = 0; index < count; ++index) {
    const PvGenEnumEntry* entry = nullptr;
    result = node.GetEntryByIndex(index, entry);
    ApplyResultRule(result, "GetEntries", __FILE__, __LINE__);
    auto wrapped = std::make_unique<GenEnumEntry>(entry);
    if (availableOnly && !entry->IsAvailable()) {
      continue;
    }
    entries.push_back(std::move(wrapped));
  }
  return entries;
}

}  // namespace quarx::sdkadaptor
