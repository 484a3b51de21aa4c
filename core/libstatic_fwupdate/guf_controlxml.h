#pragma once
// The package reader's face of the control XML: parses once when built, then hands out copies.

#include <cstddef>
#include <memory>
#include <vector>

#include "core/libstatic_fwupdate/control_xml_elements.h"

namespace quarx::core::fwupdate {

class ControlXmlParser;

class GufControlXml {
 public:
  // Parses at once; the bytes need to stay valid only during construction.
  GufControlXml(const void* data, std::size_t size);
  ~GufControlXml();
  GufControlXml(const GufControlXml&) = delete;
  GufControlXml& operator=(const GufControlXml&) = delete;

  std::vector<control_xml::Update> GetUpdates() const;
  control_xml::ProcedureMap GetProcedures() const;

 private:
  std::unique_ptr<ControlXmlParser> parser;
};

}  // namespace quarx::core::fwupdate
