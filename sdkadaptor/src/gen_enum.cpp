// Enumeration nodes: value by number or entry name, and the entries in the camera's order.
#include "sdkadaptor/src/gen_enum.h"

#include <string>

#include "camerasdk/PvGenEnum.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "sdkadaptor/src/result_rule.h"

namespace quarx::sdkadaptor {
namespace {

constexpr CodeEnum kInvalidParameterType = 0x1000003;

// The node map builds every node as the class of its SDK type, so this fails only for a node
// made by hand over a node of another kind.
PvGenEnum& Sdk(PvGenParameter& node) {
  auto* typed = dynamic_cast<PvGenEnum*>(&node);
  if (typed == nullptr) {
    throw ExceptionSdkAdaptor(kInvalidParameterType, std::string(node.GetName().GetAscii()) + " is not enum.");
  }
  return *typed;
}

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
