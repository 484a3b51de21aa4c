// Stand-in node maps from GenICam text.
#include "tests/support/xml_node_map.h"

#include <arv.h>

#include <stdexcept>

#include "camerasdk/PvGenParameterArray.h"

namespace quarx::test {

XmlNodeMap::XmlNodeMap(const std::string& xml) : parameters_(std::make_unique<PvGenParameterArray>()) {
  ArvGc* genicam = arv_gc_new(nullptr, xml.data(), xml.size());
  if (genicam == nullptr || arv_gc_get_node(genicam, "Root") == nullptr) {
    if (genicam != nullptr) {
      g_object_unref(genicam);
    }
    throw std::runtime_error("not a GenICam document with a Root category");
  }
  // The same checks as a connected camera's node map.
  arv_gc_set_range_check_policy(genicam, ARV_RANGE_CHECK_POLICY_ENABLE);
  arv_gc_set_access_check_policy(genicam, ARV_ACCESS_CHECK_POLICY_ENABLE);
  parameters_->Bind(genicam);
  genicam_ = genicam;
}

XmlNodeMap::~XmlNodeMap() {
  parameters_->Unbind();
  g_object_unref(static_cast<ArvGc*>(genicam_));
}

std::unique_ptr<sdkadaptor::InterfaceGenParameters> XmlNodeMap::NewParameters() {
  return std::make_unique<sdkadaptor::GenParameters>(parameters_.get());
}

}  // namespace quarx::test
