// Enumeration entries: their getters throw without the logging step of the result rule.
#include "sdkadaptor/src/gen_enum_entry.h"

#include "camerasdk/PvGenEnumEntry.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "sdkadaptor/src/result.h"
#include "sdkadaptor/src/visibility_converter.h"

namespace quarx::sdkadaptor {
namespace {

constexpr CodeEnum kInternalError = 0x1000002;

using TextRead = PvResult (PvGenEnumEntry::*)(PvString&) const;

std::string ReadText(const PvGenEnumEntry& entry, TextRead read, unsigned int line) {
  PvString text;
  const PvResult result = (entry.*read)(text);
  Result::ThrowExceptionWhenError(result, __FILE__, line);
  return text.GetAscii();
}

}  // namespace

GenEnumEntry::GenEnumEntry(const PvGenEnumEntry* entry) : entry_(entry) {}

const PvGenEnumEntry& GenEnumEntry::Entry() const {
  if (entry_ == nullptr) {
    throw ExceptionSdkAdaptor(kInternalError, "No SDK entry behind this enumeration entry");
  }
  return *entry_;
}

std::string GenEnumEntry::GetDescription() const {
  return ReadText(Entry(), &PvGenEnumEntry::GetDescription, __LINE__);
}

std::string GenEnumEntry::GetDisplayName() const {
  return ReadText(Entry(), &PvGenEnumEntry::GetDisplayName, __LINE__);
}

std::string GenEnumEntry::GetName() const { return ReadText(Entry(), &PvGenEnumEntry::GetName, __LINE__); }

std::string GenEnumEntry::GetToolTip() const { return ReadText(Entry(), &PvGenEnumEntry::GetToolTip, __LINE__); }

quarx::VisibilityTypeEnum GenEnumEntry::GetVisibility() const {
  PvGenVisibility visibility = PvGenVisibilityUndefined;
  const PvResult result = Entry().GetVisibility(visibility);
  Result::ThrowExceptionWhenError(result, __FILE__, __LINE__);
  return VisibilityConverter::ConvertTo(static_cast<int>(visibility));
}

int64_t GenEnumEntry::GetValue() const {
  int64_t value = 0;
  const PvResult result = Entry().GetValue(value);
  Result::ThrowExceptionWhenError(result, __FILE__, __LINE__);
  return value;
}

bool GenEnumEntry::IsAvailable() const { return entry_ != nullptr && entry_->IsAvailable(); }

}  // namespace quarx::sdkadaptor
