#pragma once
// One GenICam node map (a camera's features, the link's parameters or a stream's): the
// abstract map the core holds, and its implementation over the SDK node map.

#include <memory>
#include <string>

#include "sdkadaptor/src/gen_boolean.h"
#include "sdkadaptor/src/gen_command.h"
#include "sdkadaptor/src/gen_enum.h"
#include "sdkadaptor/src/gen_float.h"
#include "sdkadaptor/src/gen_integer.h"
#include "sdkadaptor/src/gen_parameter.h"
#include "sdkadaptor/src/gen_register.h"
#include "sdkadaptor/src/gen_string.h"

class PvGenParameterArray;

namespace quarx::sdkadaptor {

class InterfaceGenParameters {
 public:
  virtual ~InterfaceGenParameters() = default;

  virtual unsigned int GetCount() const = 0;
  // An index past the end throws; an absent name gives null.
  virtual std::shared_ptr<InterfaceGenParameter> Get(unsigned int index) = 0;
  virtual std::shared_ptr<InterfaceGenParameter> Get(const std::string& name) = 0;
  // Null for an absent name; a node of another kind throws InvalidParameterType.
  virtual std::unique_ptr<GenBoolean> GetBoolean(const std::string& name) = 0;
  virtual std::unique_ptr<GenCommand> GetCommand(const std::string& name) = 0;
  virtual std::unique_ptr<GenEnum> GetEnum(const std::string& name) = 0;
  virtual std::unique_ptr<GenFloat> GetFloat(const std::string& name) = 0;
  virtual std::unique_ptr<GenInteger> GetInteger(const std::string& name) = 0;
  virtual std::unique_ptr<GenRegister> GetRegister(const std::string& name) = 0;
  virtual std::unique_ptr<GenString> GetString(const std::string& name) = 0;
  virtual void AttachDataChunks(unsigned char* data, unsigned int size) = 0;
};

class GenParameters : public InterfaceGenParameters {
 public:
  // The SDK node map is borrowed from its device or stream, which must outlive this
  // object and every node it hands out.
  explicit GenParameters(PvGenParameterArray* parameters);
  ~GenParameters() override = default;

  unsigned int GetCount() const override;
  std::shared_ptr<InterfaceGenParameter> Get(unsigned int index) override;
  std::shared_ptr<InterfaceGenParameter> Get(const std::string& name) noexcept override;
  std::unique_ptr<GenBoolean> GetBoolean(const std::string& name) override;
  std::unique_ptr<GenCommand> GetCommand(const std::string& name) override;
  std::unique_ptr<GenEnum> GetEnum(const std::string& name) override;
  std::unique_ptr<GenFloat> GetFloat(const std::string& name) override;
  std::unique_ptr<GenInteger> GetInteger(const std::string& name) override;
  std::unique_ptr<GenRegister> GetRegister(const std::string& name) override;
  std::unique_ptr<GenString> GetString(const std::string& name) override;
  void AttachDataChunks(unsigned char* data, unsigned int size) override;

 private:
  // The node of the class matching the SDK node's type; a plain node when the type has no class.
  static std::shared_ptr<InterfaceGenParameter> CreateConcreteGenParam(PvGenParameter* parameter);

  PvGenParameterArray* parameters_;
};

}  // namespace quarx::sdkadaptor
