#pragma once
// A node map of the camera SDK stand-in over a GenICam document given as text, with the
// stand-in's real nodes: for tests of core code that calls typed node operations (which
// mocks cannot stand in for) without a camera. Values live in the document itself.

#include <memory>
#include <stdexcept>
#include <string>

#include "camerasdk/PvGenParameterArray.h"
#include "sdkadaptor/src/gen_parameters.h"

namespace quarx::test {

class XmlNodeMap {
 public:
  // The stand-in's own document loading applies the same checks as a connected camera's map.
  explicit XmlNodeMap(const std::string& xml) {
    if (parameters_.BindDocument(xml).IsFailure() || parameters_.Get(PvString("Root")) == nullptr) {
      throw std::runtime_error("not a GenICam document with a Root category");
    }
  }

  // A new adaptor node map over the document, as a device hands one out.
  std::unique_ptr<sdkadaptor::InterfaceGenParameters> NewParameters() {
    return std::make_unique<sdkadaptor::GenParameters>(&parameters_);
  }

 private:
  PvGenParameterArray parameters_;
};

}  // namespace quarx::test
