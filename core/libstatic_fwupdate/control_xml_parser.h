#pragma once
// Reads the bytes of a package's control XML into update records and procedures by id.

#include <cstddef>
#include <string>
#include <vector>

#include <rapidxml/rapidxml.hpp>

#include "core/libstatic_fwupdate/control_xml_elements.h"

namespace quarx::core::fwupdate {

class ControlXmlParser {
 public:
  // Deeper nesting is refused before parsing: the XML parser recurses once per level, and the
  // check reads the document as the parser will (XmlNestingDepth).
  static constexpr int kMaxNestingDepth = 64;

  // The bytes are not owned and are read only during Parse.
  ControlXmlParser(const void* data, std::size_t size);

  // Every failure leaves as detail 4005 "Invalid control.xml"; no records are kept then.
  void Parse();
  std::vector<control_xml::Update> GetUpdates() const;
  control_xml::ProcedureMap GetProcedures() const;

 private:
  using Node = rapidxml::xml_node<char>;

  void CheckNestingDepth() const;
  void CheckRootElement(rapidxml::xml_document<char>& document);
  void CreateUpdateElement(rapidxml::xml_document<char>& document);
  void CreateUpdateElement(Node* node);
  void ParseUpdateElement(control_xml::Update& record, Node* node);
  void CreateProcedureElement(Node* node);
  control_xml::procedure::Description GetDescriptionElement(Node* node);
  std::string GetFeatureName(Node* node);
  std::string GetFileName(Node* node);
  std::string GetDeviceFileName(Node* node);
  std::string DeviceDiscoveryDelayMs(Node* node);

  const void* data;
  std::size_t size;
  std::vector<control_xml::Update> updates;
  control_xml::ProcedureMap procedures;
};

}  // namespace quarx::core::fwupdate
