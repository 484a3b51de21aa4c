#pragma once
// One emulated GigE Vision camera: Aravis's GigE Vision fake camera on a loopback address,
// with our identity in its bootstrap registers and our GenICam XML. It can leave the network
// (a reset) and come back with the same identity and, possibly, a new device version.

#include <cstdint>
#include <memory>
#include <string>

#include "emulator/emulator_options.h"

typedef struct _ArvGvFakeCamera ArvGvFakeCamera;
typedef struct _ArvFakeCamera ArvFakeCamera;

namespace quarx::emulator {

class EmulatedCamera {
 public:
  // Builds the GenICam XML; nothing is on the network yet. Throws std::runtime_error.
  explicit EmulatedCamera(const EmulatorOptions& options);
  ~EmulatedCamera();
  EmulatedCamera(const EmulatedCamera&) = delete;
  EmulatedCamera& operator=(const EmulatedCamera&) = delete;

  // Starts serving GVCP with the identity and the current device version; throws
  // std::runtime_error when the address cannot be served.
  void GoOnline();
  // Stops answering anything; the user-defined name written meanwhile is kept for the return.
  void GoOffline();
  bool IsOnline() const { return camera_ != nullptr; }
  // Whether a host holds the control channel (privilege register non-zero); only online.
  bool HasController() const;

  // The device version the camera reports from the next GoOnline on.
  void SetVersion(const std::string& version) { version_ = version; }
  const std::string& Version() const { return version_; }
  const std::string& Address() const { return options_.address; }
  const std::string& Xml() const { return xml_; }

  // Access to the camera's memory; only while online. Registers are big-endian words.
  std::uint32_t ReadRegister(std::uint32_t address) const;
  void WriteRegister(std::uint32_t address, std::uint32_t value);
  void ReadMemory(std::uint32_t address, std::uint32_t size, void* data) const;
  void WriteMemory(std::uint32_t address, std::uint32_t size, const void* data);

 private:
  struct Unref {
    void operator()(ArvGvFakeCamera* camera) const;
  };

  void WriteIdentity();
  void WriteText(std::uint32_t address, std::uint32_t fieldSize, const std::string& text);
  std::string ReadText(std::uint32_t address, std::uint32_t fieldSize) const;
  ArvFakeCamera* Memory() const;

  EmulatorOptions options_;
  std::string xml_;
  std::string version_;
  std::string userName_;
  std::unique_ptr<ArvGvFakeCamera, Unref> camera_;
};

}  // namespace quarx::emulator
