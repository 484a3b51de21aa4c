// Chunk features by category, and their values from a buffer's chunk block.
#include "core/chunk_parser.h"

#include <fmt/format.h>

#include <exception>
#include <memory>

#include "core/exception_connect_impl.h"
#include "core/exception_feature_impl.h"
#include "sdkadaptor/src/gen_parameters.h"

namespace quarx::core {
namespace {

constexpr const char* kChunkCategory = "ChunkDataControl";
constexpr const char* kChunkModeActive = "ChunkModeActive";
constexpr const char* kChunkEnable = "ChunkEnable";
constexpr const char* kChunkSelector = "ChunkSelector";

bool IsChunkModeActive(sdkadaptor::InterfaceGenParameters& parameters) {
  std::unique_ptr<sdkadaptor::GenBoolean> mode = parameters.GetBoolean(kChunkModeActive);
  return mode && mode->GetValue();
}

}  // namespace

ChunkParser::ChunkParser(sdkadaptor::InterfaceDevice* device) : device_(device) { InitChunkParser(); }

void ChunkParser::InitChunkParser() noexcept {
  chunk_names_.clear();
  try {
    if (device_ == nullptr) {
      return;
    }
    std::unique_ptr<sdkadaptor::InterfaceGenParameters> parameters = device_->GetParameters();
    if (!parameters || !parameters->GetBoolean(kChunkModeActive)) {
      return;
    }
    for (unsigned int index = 0; index < parameters->GetCount(); ++index) {
      std::shared_ptr<sdkadaptor::InterfaceGenParameter> node = parameters->Get(index);
      if (!node || node->GetCategory().find(kChunkCategory) == std::string::npos ||
          node->GetVisibility() == VisibilityTypeEnum::Invisible) {
        continue;
      }
      std::string name = node->GetName();
      if (name != kChunkSelector) {
        chunk_names_.push_back(std::move(name));
      }
    }
  } catch (const std::exception&) {
    // A camera whose chunk features cannot be listed is treated as one without them.
    chunk_names_.clear();
  }
}

std::map<std::string, std::string> ChunkParser::GetChunkValues(unsigned char* data, uint32_t size,
                                                               const std::vector<std::string>& names) const {
  std::map<std::string, std::string> values;
  if (device_ == nullptr) {
    throw ConnectExceptionImpl("GetChunkValues", __LINE__, ERR_NOT_CONNECTED,
                               ConnectExceptionImpl::ERRMSG_NOT_CONNECTED);
  }
  {
    std::unique_ptr<sdkadaptor::InterfaceGenParameters> parameters = device_->GetParameters();
    if (!parameters || !IsChunkModeActive(*parameters)) {
      return values;
    }
  }
  const std::vector<std::string>& wanted = names.empty() ? chunk_names_ : names;
  std::unique_ptr<sdkadaptor::InterfaceGenParameters> parameters = device_->GetParameters();
  if (!parameters) {
    return values;
  }
  parameters->AttachDataChunks(data, size);

  // Names and selectors come from the camera or the caller: an absent one is reported, never
  // dereferenced.
  auto node = [&parameters](const std::string& name) {
    std::shared_ptr<sdkadaptor::InterfaceGenParameter> found = parameters->Get(name);
    if (!found) {
      throw FeatureExceptionImpl("GetChunkValues", __LINE__, ERR_FEATURE_NOT_READABLE,
                                 fmt::format("{} : Node is not available", name));
    }
    return found;
  };
  for (const std::string& name : wanted) {
    if (name == kChunkEnable || name == kChunkModeActive) {
      continue;
    }
    std::shared_ptr<sdkadaptor::InterfaceGenParameter> chunk = node(name);
    if (chunk->GetVisibility() == VisibilityTypeEnum::Invisible || chunk->GetName() == kChunkSelector ||
        !chunk->IsReadable()) {
      continue;
    }
    const std::vector<std::string> selectors = chunk->GetSelectingParameters();
    if (selectors.empty()) {
      values.emplace(name, chunk->ToString());
      continue;
    }
    for (const std::string& selectorName : selectors) {
      std::unique_ptr<sdkadaptor::GenEnum> selector = parameters->GetEnum(selectorName);
      if (!selector) {
        throw FeatureExceptionImpl("GetChunkValues", __LINE__, ERR_FEATURE_NOT_READABLE,
                                   fmt::format("{} : Node is not available", selectorName));
      }
      for (const std::unique_ptr<sdkadaptor::InterfaceGenEnumEntry>& entry : selector->GetEntries(false)) {
        if (!entry) {
          continue;
        }
        const std::string entryName = entry->GetName();
        selector->SetValue(entryName);
        // The value of the feature for this entry: the node is fetched anew after selecting.
        values.emplace(fmt::format("{}[{}]", name, entryName), node(name)->ToString());
      }
    }
  }
  return values;
}

}  // namespace quarx::core
