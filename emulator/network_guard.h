#pragma once
// Tells whether this process sees any network interface besides loopback: the fake camera
// answers broadcast discovery, so it must never run where a real network could reach it.

#include <string>

namespace quarx::emulator {

// Empty when every interface is loopback; otherwise a sentence naming the first other one
// (or why the interfaces could not be listed).
std::string NonLoopbackInterfaceProblem();

}  // namespace quarx::emulator
