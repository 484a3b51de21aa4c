// Register GenICam nodes: raw bytes through Aravis's register interface.
#include "camerasdk/PvGenRegister.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "camerasdk/arv_support.h"

using camerasdk_detail::Failure;
using camerasdk_detail::ResultFromError;

PvGenRegister::PvGenRegister(PvGenParameterArray* owner, ArvGcFeatureNode* node)
    : PvGenParameter(owner, node, PvGenTypeRegister) {}

PvResult PvGenRegister::GetLength(int64_t& length) const {
  PvResult result = CheckAttached();
  if (result.IsFailure()) {
    return result;
  }
  if (!ARV_IS_GC_REGISTER(node_)) {
    return Failure(PvResult::Code::NOT_SUPPORTED, name_ + " is not a register");
  }
  GError* error = nullptr;
  const guint64 read = arv_gc_register_get_length(ARV_GC_REGISTER(node_), &error);
  if (error == nullptr) {
    length = static_cast<int64_t>(read);
  }
  return ResultFromError(error);
}

PvResult PvGenRegister::Get(uint8_t* buffer, int64_t length) const {
  PvResult result = CheckAccess(Access::kRead);
  int64_t registerLength = 0;
  if (result.IsOK()) {
    result = GetLength(registerLength);
  }
  if (result.IsFailure()) {
    return result;
  }
  if (length < 0 || (length > 0 && buffer == nullptr)) {
    return Failure(PvResult::Code::INVALID_PARAMETER, "Invalid buffer for register " + name_);
  }
  // Read whole into a buffer of the register's own size, so that a short caller buffer is never
  // overrun.
  std::vector<uint8_t> whole(static_cast<size_t>(registerLength));
  GError* error = nullptr;
  arv_gc_register_get(ARV_GC_REGISTER(node_), whole.data(), whole.size(), &error);
  if (error != nullptr) {
    return ResultFromError(error);
  }
  std::memcpy(buffer, whole.data(), static_cast<size_t>(std::min(length, registerLength)));
  return result;
}

PvResult PvGenRegister::Set(const uint8_t* buffer, int64_t length) {
  PvResult result = CheckAccess(Access::kWrite);
  int64_t registerLength = 0;
  if (result.IsOK()) {
    result = GetLength(registerLength);
  }
  if (result.IsFailure()) {
    return result;
  }
  if (length < 0 || length > registerLength || (length > 0 && buffer == nullptr)) {
    return Failure(PvResult::Code::INVALID_PARAMETER, "Invalid length(" + std::to_string(length) + ") for register " +
                                                          name_ + " of " + std::to_string(registerLength) + " bytes");
  }
  GError* error = nullptr;
  if (length == registerLength) {
    arv_gc_register_set(ARV_GC_REGISTER(node_), buffer, static_cast<guint64>(length), &error);
    return ResultFromError(error);
  }
  // A short write goes straight to the register's address: no padding bytes cross the link.
  const guint64 address = arv_gc_register_get_address(ARV_GC_REGISTER(node_), &error);
  if (error != nullptr) {
    return ResultFromError(error);
  }
  ArvDevice* device = arv_gc_get_device(arv_gc_node_get_genicam(ARV_GC_NODE(node_)));
  if (device == nullptr) {
    return Failure(PvResult::Code::NOT_CONNECTED, "Register " + name_ + " has no device");
  }
  if (length > 0) {
    arv_device_write_memory(device, address, static_cast<guint32>(length), const_cast<uint8_t*>(buffer), &error);
  }
  return ResultFromError(error);
}
