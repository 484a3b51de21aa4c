#pragma once
// How the stand-in turns an Aravis error into an SDK result, with the Aravis error numbers it
// tells apart named here, free of Aravis headers (arv_support.cpp checks them against Aravis).

#include <cstdint>
#include <string>

#include "camerasdk/PvResult.h"

namespace camerasdk_detail {

enum class ArvErrorDomain { kDevice, kGenicam, kIo, kOther };

namespace arv_error {
// ArvDeviceError
constexpr int kDeviceNotConnected = 2;
constexpr int kDeviceTimeout = 5;
constexpr int kDeviceProtocolNotImplemented = 12;
constexpr int kDeviceProtocolBusy = 18;
// ArvGcError
constexpr int kGenicamNoEventImplementation = 6;
constexpr int kGenicamSetFromStringUndefined = 11;
constexpr int kGenicamGetAsStringUndefined = 12;
// GIOErrorEnum
constexpr int kIoTimedOut = 24;
}  // namespace arv_error

// Time-out -> Timeout, not connected -> NotConnected, not implemented or unsupported ->
// NotSupported, busy -> Busy, anything else -> GenericError; the message becomes the description.
PvResult ResultFromArvError(ArvErrorDomain domain, int code, const std::string& message);

// A failure result; a generic failure never carries the internal code that marks "busy".
PvResult Failure(std::uint32_t code, const std::string& description);

}  // namespace camerasdk_detail
