// Feature access by name over one node map.
#include "core/parameters.h"

#include <exception>

#include "core/exception_feature_impl.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "util/quarxlog.h"

namespace quarx::core {

namespace {

using sdkadaptor::InterfaceGenParameters;

// The typed lookups share one shape: a node of another type is a lookup failure (detail 1)
// reported with the adaptor's own description.
template <class FeatureT, class Node>
std::unique_ptr<FeatureT> TypedLookup(InterfaceGenParameters* parameters,
                                      std::unique_ptr<Node> (InterfaceGenParameters::*lookup)(const std::string&),
                                      const std::string& name, const char* function, int line) {
  if (!parameters) {
    return nullptr;
  }
  try {
    std::unique_ptr<Node> node = (parameters->*lookup)(name);
    if (!node) {
      return nullptr;
    }
    return std::make_unique<FeatureT>(std::shared_ptr<Node>(std::move(node)));
  } catch (const sdkadaptor::ExceptionSdkAdaptor& e) {
    throw FeatureExceptionImpl(function, line, ERR_FAILED, e.GetDescription());
  }
}

}  // namespace

Parameters::Parameters(std::unique_ptr<sdkadaptor::InterfaceGenParameters> parameters)
    : parameters_(std::move(parameters)) {}

std::shared_ptr<Feature> Parameters::GetFeature(const std::string& name) noexcept {
  if (!parameters_) {
    return nullptr;
  }
  try {
    return Feature::Create(parameters_->Get(name));
  } catch (const std::exception& e) {
    // Absence is this lookup's only answer; the failure below is kept in the log.
    util::Log::GetInstance("").logger_->error("<{}> ({}) {}", "GetFeature", name, e.what());
  } catch (...) {
    util::Log::GetInstance("").logger_->error("<{}> ({}) unknown exception", "GetFeature", name);
  }
  return nullptr;
}

std::vector<std::shared_ptr<Feature>> Parameters::GetAll() noexcept {
  std::vector<std::shared_ptr<Feature>> features;
  if (!parameters_) {
    return features;
  }
  try {
    for (unsigned int i = 0; i < parameters_->GetCount(); ++i) {
      std::shared_ptr<Feature> feature;
      try {
        feature = Feature::Create(parameters_->Get(i));
      } catch (const std::exception& e) {
        // The entry stays, empty, so that positions keep matching the node map's indices.
        util::Log::GetInstance("").logger_->error("<{}> index({}) {}", "GetAll", i, e.what());
      }
      features.push_back(std::move(feature));
    }
  } catch (const std::exception& e) {
    util::Log::GetInstance("").logger_->error("<{}> {}", "GetAll", e.what());
  } catch (...) {
    util::Log::GetInstance("").logger_->error("<{}> unknown exception", "GetAll");
  }
  return features;
}

std::unique_ptr<FeatureBoolean> Parameters::GetBoolean(const std::string& name) {
  return TypedLookup<FeatureBoolean>(parameters_.get(), &InterfaceGenParameters::GetBoolean, name, "GetBoolean",
                                     __LINE__);
}

std::unique_ptr<FeatureCommand> Parameters::GetCommand(const std::string& name) {
  return TypedLookup<FeatureCommand>(parameters_.get(), &InterfaceGenParameters::GetCommand, name, "GetCommand",
                                     __LINE__);
}

std::unique_ptr<FeatureEnum> Parameters::GetEnum(const std::string& name) {
  return TypedLookup<FeatureEnum>(parameters_.get(), &InterfaceGenParameters::GetEnum, name, "GetEnum", __LINE__);
}

std::unique_ptr<FeatureFloat> Parameters::GetFloat(const std::string& name) {
  return TypedLookup<FeatureFloat>(parameters_.get(), &InterfaceGenParameters::GetFloat, name, "GetFloat", __LINE__);
}

std::unique_ptr<FeatureInteger> Parameters::GetInteger(const std::string& name) {
  return TypedLookup<FeatureInteger>(parameters_.get(), &InterfaceGenParameters::GetInteger, name, "GetInteger",
                                     __LINE__);
}

std::unique_ptr<FeatureRegister> Parameters::GetRegister(const std::string& name) {
  return TypedLookup<FeatureRegister>(parameters_.get(), &InterfaceGenParameters::GetRegister, name, "GetRegister",
                                      __LINE__);
}

std::unique_ptr<FeatureString> Parameters::GetString(const std::string& name) {
  return TypedLookup<FeatureString>(parameters_.get(), &InterfaceGenParameters::GetString, name, "GetString",
                                    __LINE__);
}

std::unordered_map<std::string, quarx::ReasonOfFailure> Parameters::SetParameters(
    const std::unordered_map<std::string, std::string>& values) {
  std::unordered_map<std::string, quarx::ReasonOfFailure> failures;
  for (const auto& [name, text] : values) {
    std::shared_ptr<Feature> feature = GetFeature(name);
    if (!feature) {
      failures.emplace(name, quarx::ReasonOfFailure::NotFound);
    } else if (!feature->IsWritable()) {
      failures.emplace(name, quarx::ReasonOfFailure::NotWritable);
    } else {
      try {
        feature->FromString(text);
      } catch (const std::exception&) {
        failures.emplace(name, quarx::ReasonOfFailure::SetValueFailed);
      }
    }
  }
  return failures;
}

}  // namespace quarx::core
