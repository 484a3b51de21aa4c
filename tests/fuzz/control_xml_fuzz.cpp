// Fuzzes the control XML reader and the package model built from its records.
#include <exception>

#include "core/libstatic_fwupdate/guf_controlxml.h"
#include "core/libstatic_fwupdate/guffile_info.h"
#include "tests/fuzz/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool quiet = (quarx::fuzz::SilenceLogging(), true);
  (void)quiet;
  using namespace quarx::core::fwupdate;
  try {
    const GufControlXml xml(data, size);
    control_xml::ProcedureMap procedures = xml.GetProcedures();
    for (const auto& record : xml.GetUpdates()) {
      Update(record, procedures).GetProceureItems();
    }
  } catch (const std::exception&) {
  }
  return 0;
}
