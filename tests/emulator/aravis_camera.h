#pragma once
// A control connection to an emulated camera through Aravis, for the emulator's own tests:
// typed feature access that throws with Aravis's message on failure. Connects by address
// only (arv_gv_device_new); it never runs Aravis's broadcast discovery.

#include <arv.h>

#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace quarx::test {

class AravisCamera {
 public:
  explicit AravisCamera(const std::string& address, const std::string& from = "127.0.0.1") {
    GInetAddress* local = g_inet_address_new_from_string(from.c_str());
    GInetAddress* remote = g_inet_address_new_from_string(address.c_str());
    GError* error = nullptr;
    device_ = ARV_GV_DEVICE(arv_gv_device_new(local, remote, &error));
    g_object_unref(local);
    g_object_unref(remote);
    Check(error, "connect to " + address);
    if (device_ == nullptr) {
      throw std::runtime_error("connect to " + address + ": no device");
    }
    arv_device_set_access_check_policy(Device(), ARV_ACCESS_CHECK_POLICY_ENABLE);
    arv_device_set_range_check_policy(Device(), ARV_RANGE_CHECK_POLICY_ENABLE);
  }
  ~AravisCamera() { g_object_unref(device_); }
  AravisCamera(const AravisCamera&) = delete;
  AravisCamera& operator=(const AravisCamera&) = delete;

  ArvDevice* Device() const { return ARV_DEVICE(device_); }
  bool IsController() const { return arv_gv_device_is_controller(device_) != FALSE; }

  bool Has(const std::string& name) const { return arv_device_get_feature(Device(), name.c_str()) != nullptr; }

  std::string String(const std::string& name) const {
    GError* error = nullptr;
    const char* value = arv_device_get_string_feature_value(Device(), name.c_str(), &error);
    Check(error, "read " + name);
    return value == nullptr ? std::string() : std::string(value);
  }
  void SetString(const std::string& name, const std::string& value) {
    GError* error = nullptr;
    arv_device_set_string_feature_value(Device(), name.c_str(), value.c_str(), &error);
    Check(error, "write " + name);
  }
  std::int64_t Integer(const std::string& name) const {
    GError* error = nullptr;
    const gint64 value = arv_device_get_integer_feature_value(Device(), name.c_str(), &error);
    Check(error, "read " + name);
    return value;
  }
  void SetInteger(const std::string& name, std::int64_t value) {
    GError* error = nullptr;
    arv_device_set_integer_feature_value(Device(), name.c_str(), value, &error);
    Check(error, "write " + name);
  }
  // Enumerations are read and written by entry name.
  std::string Enum(const std::string& name) const { return String(name); }
  void SetEnum(const std::string& name, const std::string& entry) { SetString(name, entry); }

  // Entry names in document order, available ones only.
  std::vector<std::string> AvailableEntries(const std::string& name) const {
    guint count = 0;
    GError* error = nullptr;
    const char** entries =
        arv_device_dup_available_enumeration_feature_values_as_strings(Device(), name.c_str(), &count, &error);
    Check(error, "list " + name);
    std::vector<std::string> names(entries, entries + count);
    g_free(entries);
    return names;
  }

  void Execute(const std::string& name) {
    GError* error = nullptr;
    arv_device_execute_command(Device(), name.c_str(), &error);
    Check(error, "execute " + name);
  }

  std::vector<std::uint8_t> Register(const std::string& name) const {
    ArvGcRegister* node = RegisterNode(name);
    GError* error = nullptr;
    const guint64 length = arv_gc_register_get_length(node, &error);
    Check(error, "length of " + name);
    std::vector<std::uint8_t> bytes(length);
    arv_gc_register_get(node, bytes.data(), length, &error);
    Check(error, "read " + name);
    return bytes;
  }
  void SetRegister(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    GError* error = nullptr;
    arv_gc_register_set(RegisterNode(name), bytes.data(), bytes.size(), &error);
    Check(error, "write " + name);
  }

  // A command is done once its register no longer reads back as the command value (1).
  bool WaitUntilDone(const std::string& registerName, std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
      if (Integer(registerName) != 1) {
        return true;
      }
      if (std::chrono::steady_clock::now() >= deadline) {
        return false;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
  }

 private:
  ArvGcRegister* RegisterNode(const std::string& name) const {
    ArvGcNode* node = arv_device_get_feature(Device(), name.c_str());
    if (node == nullptr || !ARV_IS_GC_REGISTER(node)) {
      throw std::runtime_error(name + " is not a register");
    }
    return ARV_GC_REGISTER(node);
  }

  static void Check(GError* error, const std::string& what) {
    if (error != nullptr) {
      const std::string message = what + ": " + error->message;
      g_error_free(error);
      throw std::runtime_error(message);
    }
  }

  ArvGvDevice* device_ = nullptr;
};

}  // namespace quarx::test
