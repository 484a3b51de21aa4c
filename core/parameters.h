#pragma once
// Access to one GenICam node map by feature name: a camera's features, the link's
// parameters or a stream's parameters.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/feature.h"
#include "core/feature_boolean.h"
#include "core/feature_command.h"
#include "core/feature_enum.h"
#include "core/feature_float.h"
#include "core/feature_integer.h"
#include "core/feature_register.h"
#include "core/feature_string.h"
#include "sdkadaptor/src/gen_parameters.h"

namespace quarx {

// Why one value of Parameters::SetParameters was not set.
enum class ReasonOfFailure : std::uint32_t {
  SetValueFailed = 0,
  NotFound = 1,
  NotWritable = 2,
};

}  // namespace quarx

namespace quarx::core {

class Parameters {
 public:
  // Takes the node map over; a null map behaves as a map without nodes.
  explicit Parameters(std::unique_ptr<sdkadaptor::InterfaceGenParameters> parameters);
  virtual ~Parameters() = default;
  Parameters(const Parameters&) = delete;
  Parameters& operator=(const Parameters&) = delete;

  // Null for an absent feature or one whose type has no feature class. Never throws.
  std::shared_ptr<Feature> GetFeature(const std::string& name) noexcept;
  // One entry per node in index order, null where the node has no feature class. Never throws.
  std::vector<std::shared_ptr<Feature>> GetAll() noexcept;

  // Null for an absent name; a feature of another type throws FeatureException (detail 1).
  std::unique_ptr<FeatureBoolean> GetBoolean(const std::string& name);
  std::unique_ptr<FeatureCommand> GetCommand(const std::string& name);
  std::unique_ptr<FeatureEnum> GetEnum(const std::string& name);
  std::unique_ptr<FeatureFloat> GetFloat(const std::string& name);
  std::unique_ptr<FeatureInteger> GetInteger(const std::string& name);
  std::unique_ptr<FeatureRegister> GetRegister(const std::string& name);
  std::unique_ptr<FeatureString> GetString(const std::string& name);

  // Sets each value from its text, one by one; returns only the names that were not set.
  std::unordered_map<std::string, quarx::ReasonOfFailure> SetParameters(
      const std::unordered_map<std::string, std::string>& values);

 private:
  std::unique_ptr<sdkadaptor::InterfaceGenParameters> parameters_;
};

}  // namespace quarx::core
