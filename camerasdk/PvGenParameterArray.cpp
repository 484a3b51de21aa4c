// Node maps over Aravis GenICam documents: the feature nodes in document order, each wrapped
// in the SDK class its XML tag calls for.
#include "camerasdk/PvGenParameterArray.h"

#include <cstring>

#include "camerasdk/PvGenBoolean.h"
#include "camerasdk/PvGenCommand.h"
#include "camerasdk/PvGenEnum.h"
#include "camerasdk/PvGenFloat.h"
#include "camerasdk/PvGenInteger.h"
#include "camerasdk/PvGenRegister.h"
#include "camerasdk/PvGenString.h"
#include "camerasdk/arv_support.h"
#include "camerasdk/buffer_registry.h"

using camerasdk_detail::Failure;
using camerasdk_detail::Text;

namespace {

constexpr const char* kChunkBufferKey = "camerasdk-chunk-buffer";

std::unique_ptr<PvGenParameter> MakeNode(PvGenParameterArray* owner, ArvGcFeatureNode* node) {
  const PvGenType type = camerasdk_detail::TypeFromTag(arv_dom_node_get_node_name(ARV_DOM_NODE(node)));
  // The tag decides the class; the GObject interface is checked too, so that a document whose
  // tag and Aravis class disagree gives a plain node rather than a wrong cast.
  switch (type) {
    case PvGenTypeInteger:
      if (ARV_IS_GC_INTEGER(node)) return std::make_unique<PvGenInteger>(owner, node);
      break;
    case PvGenTypeEnum:
      if (ARV_IS_GC_ENUMERATION(node)) return std::make_unique<PvGenEnum>(owner, node);
      break;
    case PvGenTypeBoolean:
      if (ARV_IS_GC_BOOLEAN(node)) return std::make_unique<PvGenBoolean>(owner, node);
      break;
    case PvGenTypeString:
      if (ARV_IS_GC_STRING(node)) return std::make_unique<PvGenString>(owner, node);
      break;
    case PvGenTypeCommand:
      if (ARV_IS_GC_COMMAND(node)) return std::make_unique<PvGenCommand>(owner, node);
      break;
    case PvGenTypeFloat:
      if (ARV_IS_GC_FLOAT(node)) return std::make_unique<PvGenFloat>(owner, node);
      break;
    case PvGenTypeRegister:
      if (ARV_IS_GC_REGISTER(node)) return std::make_unique<PvGenRegister>(owner, node);
      break;
    default:
      break;
  }
  return std::make_unique<PvGenParameter>(owner, node, PvGenTypeUndefined);
}

}  // namespace

PvGenParameterArray::PvGenParameterArray() = default;

PvGenParameterArray::~PvGenParameterArray() { Unbind(); }

uint32_t PvGenParameterArray::GetCount() const { return static_cast<uint32_t>(nodes_.size()); }

PvGenParameter* PvGenParameterArray::Get(uint32_t index) const {
  return index < nodes_.size() ? nodes_[index].get() : nullptr;
}

PvGenParameter* PvGenParameterArray::Get(const PvString& name) const {
  const auto it = by_name_.find(name.GetAscii());
  return it == by_name_.end() ? nullptr : it->second;
}

PvResult PvGenParameterArray::AttachDataChunks(uint8_t* data, uint32_t /*size*/) {
  // Aravis reads chunk nodes only from buffers its own streams filled: the bytes must be
  // those of a buffer the stand-in handed out.
  ArvBuffer* buffer = data == nullptr ? nullptr : camerasdk_detail::FindBufferByData(data);
  if (buffer == nullptr) {
    return Failure(PvResult::Code::NOT_SUPPORTED, "Chunk data can be attached only from a buffer of a stream");
  }
  if (genicam_ == nullptr) {
    g_object_unref(buffer);
    return Failure(PvResult::Code::NOT_CONNECTED, "Node map is not connected to a device");
  }
  // Aravis keeps the buffer without a reference of its own; the document holds ours until the
  // next attachment or its end.
  arv_gc_set_buffer(genicam_, buffer);
  g_object_set_data_full(G_OBJECT(genicam_), kChunkBufferKey, buffer, g_object_unref);
  return PvResult();
}

void PvGenParameterArray::Bind(ArvGc* genicam) {
  Unbind();
  if (genicam == nullptr) {
    return;
  }
  genicam_ = ARV_GC(g_object_ref(genicam));

  // Feature nodes sit under the root, inside Group elements, and as StructEntry inside
  // StructReg; enumeration entries belong to their enumeration and are not nodes of the map.
  std::vector<ArvDomNode*> pending;
  ArvDomElement* root = arv_dom_document_get_document_element(ARV_DOM_DOCUMENT(genicam));
  for (ArvDomNode* child = root == nullptr ? nullptr : arv_dom_node_get_last_child(ARV_DOM_NODE(root));
       child != nullptr; child = arv_dom_node_get_previous_sibling(child)) {
    pending.push_back(child);
  }
  while (!pending.empty()) {
    ArvDomNode* element = pending.back();
    pending.pop_back();
    if (!ARV_IS_DOM_ELEMENT(element) || ARV_IS_GC_ENUM_ENTRY(element) || ARV_IS_GC_PROPERTY_NODE(element)) {
      continue;
    }
    if (ARV_IS_GC_FEATURE_NODE(element)) {
      ArvGcFeatureNode* feature = ARV_GC_FEATURE_NODE(element);
      const std::string name = Text(arv_gc_feature_node_get_name(feature));
      if (!name.empty() && by_name_.find(name) == by_name_.end() &&
          arv_gc_get_node(genicam, name.c_str()) == ARV_GC_NODE(feature)) {
        nodes_.push_back(MakeNode(this, feature));
        by_name_.emplace(name, nodes_.back().get());
      }
      if (ARV_IS_GC_CATEGORY(element)) {
        for (const GSList* item = arv_gc_category_get_features(ARV_GC_CATEGORY(element)); item != nullptr;
             item = item->next) {
          category_of_.emplace(Text(static_cast<const char*>(item->data)), name);
        }
      }
    }
    for (ArvDomNode* child = arv_dom_node_get_last_child(element); child != nullptr;
         child = arv_dom_node_get_previous_sibling(child)) {
      pending.push_back(child);
    }
  }
}

PvResult PvGenParameterArray::BindDocument(const std::string& xml) {
  Unbind();
  ArvGc* genicam = arv_gc_new(nullptr, xml.data(), xml.size());
  if (genicam == nullptr) {
    return Failure(PvResult::Code::INVALID_PARAMETER, "Invalid GenICam description");
  }
  arv_gc_set_range_check_policy(genicam, ARV_RANGE_CHECK_POLICY_ENABLE);
  arv_gc_set_access_check_policy(genicam, ARV_ACCESS_CHECK_POLICY_ENABLE);
  Bind(genicam);
  g_object_unref(genicam);
  return nodes_.empty() ? Failure(PvResult::Code::INVALID_PARAMETER, "GenICam description without nodes") : PvResult();
}

void PvGenParameterArray::Unbind() {
  for (auto& node : nodes_) {
    node->Detach();
    detached_.push_back(std::move(node));
  }
  nodes_.clear();
  by_name_.clear();
  category_of_.clear();
  if (genicam_ != nullptr) {
    g_object_unref(genicam_);
    genicam_ = nullptr;
  }
}

std::string PvGenParameterArray::GetCategoryOf(const std::string& feature) const {
  const auto it = category_of_.find(feature);
  return it == category_of_.end() ? std::string() : it->second;
}

std::vector<PvGenParameter*> PvGenParameterArray::GetSelectingOf(const std::string& feature) const {
  std::vector<PvGenParameter*> selecting;
  for (const auto& node : nodes_) {
    PvGenParameterList selected;
    if (node->GetSelectedParameters(selected).IsFailure()) {
      continue;
    }
    for (PvGenParameter* item = selected.GetFirst(); item != nullptr; item = selected.GetNext()) {
      if (std::string(item->GetName().GetAscii()) == feature) {
        selecting.push_back(node.get());
        break;
      }
    }
  }
  return selecting;
}
