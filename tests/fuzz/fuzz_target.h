#pragma once
// What every fuzz target shares: libFuzzer's entry points, and a quiet process logger so that
// millions of refused inputs do not turn into millions of console lines.

#include <cstddef>
#include <cstdint>

#include <spdlog/spdlog.h>

#include "util/quarxlog.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace quarx::fuzz {

inline void SilenceLogging() {
  quarx::util::Log::GetInstance("").SetLogLevel("off");
  spdlog::set_level(spdlog::level::off);
}

}  // namespace quarx::fuzz
