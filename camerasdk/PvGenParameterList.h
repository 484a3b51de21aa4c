#pragma once
// A walkable list of borrowed nodes, as the SDK fills it for selector relations.

#include <cstddef>
#include <vector>

class PvGenParameter;

class PvGenParameterList {
 public:
  void Add(PvGenParameter* parameter) { items_.push_back(parameter); }
  void Clear() {
    items_.clear();
    cursor_ = 0;
  }
  std::size_t GetSize() const { return items_.size(); }
  // The first node, or null for an empty list; GetNext then walks on until null.
  PvGenParameter* GetFirst() {
    cursor_ = 0;
    return GetNext();
  }
  PvGenParameter* GetNext() { return cursor_ < items_.size() ? items_[cursor_++] : nullptr; }

 private:
  std::vector<PvGenParameter*> items_;
  std::size_t cursor_ = 0;
};
