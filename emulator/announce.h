#pragma once
// Lines the emulator prints on standard output for whoever started it: the ready line and
// one line per event (file closed, firmware installed, reset, back on the network).

#include <string>

namespace quarx::emulator {

// Prints "fwcam-emulator <text>" as one line and flushes it; safe from any thread.
void Announce(const std::string& text);

}  // namespace quarx::emulator
