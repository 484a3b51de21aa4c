#pragma once
// A host network or USB interface as discovery saw it: the abstract view the core reads and its SDK form.

#include <string>

class PvInterface;

namespace quarx::sdkadaptor {

class InterfaceHostInterface {
 public:
  virtual ~InterfaceHostInterface() = default;
  // Display id and name are wide: interface names may hold characters beyond 8 bits.
  virtual std::wstring GetDisplayId() const = 0;
  virtual std::wstring GetName() const = 0;
  virtual std::string GetUniqueId() const = 0;
};

class HostInterface : public InterfaceHostInterface {
 public:
  // Borrows the SDK's interface, which its system object owns; null reads as empty texts.
  explicit HostInterface(const PvInterface* host_interface);
  ~HostInterface() override = default;

  std::wstring GetDisplayId() const override;
  std::wstring GetName() const override;
  std::string GetUniqueId() const override;

 private:
  const PvInterface* host_interface_;
};

}  // namespace quarx::sdkadaptor
