#pragma once
// A GenICam node map: the nodes of one GenICam document in document order, found by index
// or by name. It belongs to its device and outlives every connection: nodes of a document
// that went away (a disconnect) stay allocated but fail every operation.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "camerasdk/PvGenParameter.h"
#include "camerasdk/PvResult.h"
#include "camerasdk/PvString.h"

typedef struct _ArvGc ArvGc;

class PvGenParameterArray {
 public:
  PvGenParameterArray();
  ~PvGenParameterArray();
  PvGenParameterArray(const PvGenParameterArray&) = delete;
  PvGenParameterArray& operator=(const PvGenParameterArray&) = delete;

  uint32_t GetCount() const;
  // Null for an index past the end or an absent name.
  PvGenParameter* Get(uint32_t index) const;
  PvGenParameter* Get(const PvString& name) const;
  // Chunk nodes read from the buffer whose data this is; only buffers of the stand-in's
  // streams qualify, any other block is NotSupported.
  PvResult AttachDataChunks(uint8_t* data, uint32_t size);

  // For the stand-in's devices: take the nodes of a document (the array keeps a reference on
  // it) or let them go.
  void Bind(ArvGc* genicam);
  void Unbind();
  // Takes the nodes of a GenICam description without a device (the link's own parameters):
  // values live in the document, with range and access checks on.
  PvResult BindDocument(const std::string& xml);

  // For the stand-in's nodes: the category listing a feature, and the selectors selecting it.
  std::string GetCategoryOf(const std::string& feature) const;
  std::vector<PvGenParameter*> GetSelectingOf(const std::string& feature) const;

 private:
  ArvGc* genicam_ = nullptr;
  std::vector<std::unique_ptr<PvGenParameter>> nodes_;
  // Nodes of earlier documents, kept so that pointers still held by callers fail cleanly.
  std::vector<std::unique_ptr<PvGenParameter>> detached_;
  std::unordered_map<std::string, PvGenParameter*> by_name_;
  std::unordered_map<std::string, std::string> category_of_;
};
