// The package reader's face of the control XML.
#include "core/libstatic_fwupdate/guf_controlxml.h"

#include "core/libstatic_fwupdate/control_xml_parser.h"

namespace quarx::core::fwupdate {

GufControlXml::GufControlXml(const void* data, std::size_t size)
    : parser(std::make_unique<ControlXmlParser>(data, size)) {
  parser->Parse();
}

GufControlXml::~GufControlXml() = default;

std::vector<control_xml::Update> GufControlXml::GetUpdates() const { return parser->GetUpdates(); }

control_xml::ProcedureMap GufControlXml::GetProcedures() const { return parser->GetProcedures(); }

}  // namespace quarx::core::fwupdate
