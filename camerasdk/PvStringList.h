#pragma once
// A list of texts, as SDK operations that enumerate names return them.

#include <cstdint>
#include <vector>

#include "camerasdk/PvString.h"

class PvStringList {
 public:
  void Add(const PvString& text) { items_.push_back(text); }
  std::uint32_t GetSize() const { return static_cast<std::uint32_t>(items_.size()); }
  // Index past the end gives nullptr rather than undefined behaviour.
  const PvString* GetItem(std::uint32_t index) const { return index < items_.size() ? &items_[index] : nullptr; }
  void Clear() { items_.clear(); }

 private:
  std::vector<PvString> items_;
};
