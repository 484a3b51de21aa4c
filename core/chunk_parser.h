#pragma once
// Chunk data of acquired buffers: the chunk features a camera offers, found once per device,
// and the values a buffer's chunk block holds for them, by feature name and selector entry.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sdkadaptor/src/device.h"

namespace quarx::core {

class ChunkParser {
 public:
  // The device is borrowed from the device implementation that made the parser.
  explicit ChunkParser(sdkadaptor::InterfaceDevice* device);
  ChunkParser(const ChunkParser&) = delete;
  ChunkParser& operator=(const ChunkParser&) = delete;

  // Collects the names of the camera's chunk features; none when it has no chunk mode.
  void InitChunkParser() noexcept;

  // Values by feature name, "Name[Entry]" for a feature under a selector; empty while the
  // camera's chunk mode is off. No names asks for every chunk feature found at construction.
  // A name or selector the camera lacks throws FeatureException (detail 3001); a parser whose
  // device is gone throws ConnectException (detail 4); adaptor failures pass unchanged.
  std::map<std::string, std::string> GetChunkValues(unsigned char* data, uint32_t size,
                                                    const std::vector<std::string>& names) const;

  // The device is going away: later reads fail instead of reaching it.
  void DetachDevice() noexcept { device_ = nullptr; }

 private:
  sdkadaptor::InterfaceDevice* device_;
  std::vector<std::string> chunk_names_;
};

}  // namespace quarx::core
