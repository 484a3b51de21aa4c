// Stand-in node maps from GenICam text.
#include "tests/support/xml_node_map.h"

#include <stdexcept>

#include "camerasdk/PvGenParameterArray.h"

namespace quarx::test {

XmlNodeMap::XmlNodeMap(const std::string& xml) : parameters_(std::make_unique<PvGenParameterArray>()) {
  // The stand-in's own document loading applies the same checks as a connected camera's map.
  if (parameters_->BindDocument(xml).IsFailure() || parameters_->Get(PvString("Root")) == nullptr) {
    throw std::runtime_error("not a GenICam document with a Root category");
  }
}

XmlNodeMap::~XmlNodeMap() = default;

std::unique_ptr<sdkadaptor::InterfaceGenParameters> XmlNodeMap::NewParameters() {
  return std::make_unique<sdkadaptor::GenParameters>(parameters_.get());
}

}  // namespace quarx::test
