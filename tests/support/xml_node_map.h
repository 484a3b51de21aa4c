#pragma once
// A node map of the camera SDK stand-in over a GenICam document given as text, with the
// stand-in's real nodes: for tests of core code that calls typed node operations (which
// mocks cannot stand in for) without a camera. Values live in the document itself.

#include <memory>
#include <string>

#include "sdkadaptor/src/gen_parameters.h"

class PvGenParameterArray;

namespace quarx::test {

class XmlNodeMap {
 public:
  // Throws std::runtime_error when the text is no GenICam document.
  explicit XmlNodeMap(const std::string& xml);
  ~XmlNodeMap();
  XmlNodeMap(const XmlNodeMap&) = delete;
  XmlNodeMap& operator=(const XmlNodeMap&) = delete;

  // A new adaptor node map over the document, as a device hands one out.
  std::unique_ptr<sdkadaptor::InterfaceGenParameters> NewParameters();

 private:
  std::unique_ptr<PvGenParameterArray> parameters_;
};

}  // namespace quarx::test
