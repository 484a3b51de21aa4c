#pragma once
// One GenICam feature of a connected camera: the adaptor node wrapped so that every failure
// below reaches callers as the core's feature exception.

#include <memory>
#include <string>

#include "sdkadaptor/src/gen_parameter.h"
#include "sdkadaptor/src/quarx_types.h"

namespace quarx::core {

class Feature {
 public:
  virtual ~Feature() = default;
  Feature(const Feature&) = delete;
  Feature& operator=(const Feature&) = delete;

  // The typed feature matching the node's type; null for a null node, for a type without a
  // feature class and when the type cannot be read. Never throws.
  static std::shared_ptr<Feature> Create(const std::shared_ptr<sdkadaptor::InterfaceGenParameter>& node) noexcept;

  // Access flags come straight from the node: they never fail.
  bool IsAvailable() const;
  bool IsImplemented() const;
  bool IsReadable() const;
  bool IsStreamable() const;
  bool IsValueCached() const;
  bool IsWritable() const;

  void FromString(const std::string& value);
  std::string GetCategory() const;
  std::string GetDescription() const;
  std::string GetDisplayName() const;
  std::string GetName() const;
  std::string GetToolTip() const;
  quarx::FeatureTypeEnum GetType() const;
  quarx::VisibilityTypeEnum GetVisibility() const;
  bool IsSelector() const;
  std::string GetValueAsString() const;

 protected:
  // The node is borrowed: the typed subclass holds the owning pointer to it.
  explicit Feature(sdkadaptor::InterfaceGenParameter* node);

  // Rethrows the exception being handled as the feature exception of `function`; to be called
  // only from inside a catch block.
  [[noreturn]] void RethrowAsFeatureException(const std::string& function, int line) const;

 private:
  sdkadaptor::InterfaceGenParameter* node_;
};

// Rethrows the exception being handled: an adaptor failure is classified by its SDK
// description under `sdk_function`, any other standard exception becomes detail 3000 under
// `function`, anything else passes unchanged. To be called only from inside a catch block.
[[noreturn]] void RethrowAsFeatureException(const std::string& sdk_function, const std::string& function, int line,
                                            const std::string& feature_name);

}  // namespace quarx::core
