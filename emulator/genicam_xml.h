#pragma once
// Builds the emulated camera's GenICam XML from the fake camera's own XML plus the features
// that the firmware updater uses (device identity and reset, file access, firmware update).

#include <string>

#include "emulator/emulator_options.h"

namespace quarx::emulator {

// Throws std::runtime_error when the base XML lacks a part the additions hang on.
std::string BuildGenicamXml(const std::string& baseXml, const EmulatorOptions& options);

}  // namespace quarx::emulator
