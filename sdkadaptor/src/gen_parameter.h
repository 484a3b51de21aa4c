#pragma once
// One GenICam node of a camera SDK node map: the abstract node the core holds, and its
// implementation over the SDK node.

#include <string>
#include <vector>

#include "sdkadaptor/src/quarx_types.h"

class PvGenParameter;

namespace quarx::sdkadaptor {

class InterfaceGenParameter {
 public:
  virtual ~InterfaceGenParameter() = default;

  virtual void FromString(const std::string& value) = 0;
  virtual std::string GetCategory() const = 0;
  virtual std::string GetDescription() const = 0;
  virtual std::string GetDisplayName() const = 0;
  virtual std::string GetName() const = 0;
  virtual std::string GetToolTip() const = 0;
  virtual quarx::FeatureTypeEnum GetType() const = 0;
  virtual bool IsUpdateEnabled() = 0;
  virtual quarx::VisibilityTypeEnum GetVisibility() const = 0;
  virtual bool IsAvailable() const = 0;
  virtual bool IsImplemented() const = 0;
  virtual bool IsPersistent() const = 0;
  virtual bool IsReadable() const = 0;
  virtual bool IsSelector() const = 0;
  virtual bool IsStreamable() const = 0;
  virtual bool IsValueCached() const = 0;
  virtual bool IsWritable() const = 0;
  virtual std::string ToString() const = 0;
  virtual std::vector<std::string> GetSelectingParameters() const = 0;
  virtual std::vector<std::string> GetSelectedParameters() const = 0;
};

class GenParameter : public InterfaceGenParameter {
 public:
  // The SDK node is borrowed from its node map, which must outlive this object.
  explicit GenParameter(PvGenParameter* parameter);
  ~GenParameter() override = default;

  void FromString(const std::string& value) override;
  std::string GetCategory() const override;
  std::string GetDescription() const override;
  std::string GetDisplayName() const override;
  std::string GetName() const override;
  std::string GetToolTip() const override;
  quarx::FeatureTypeEnum GetType() const override;
  bool IsUpdateEnabled() override;
  quarx::VisibilityTypeEnum GetVisibility() const override;
  bool IsAvailable() const override;
  bool IsImplemented() const override;
  bool IsPersistent() const override;
  bool IsReadable() const override;
  bool IsSelector() const override;
  bool IsStreamable() const override;
  bool IsValueCached() const override;
  bool IsWritable() const override;
  std::string ToString() const override;
  std::vector<std::string> GetSelectingParameters() const noexcept override;
  std::vector<std::string> GetSelectedParameters() const noexcept override;

 protected:
  // The SDK node, or a failure naming the node when there is none to call.
  PvGenParameter& Node() const;

  PvGenParameter* parameter_;
};

}  // namespace quarx::sdkadaptor
