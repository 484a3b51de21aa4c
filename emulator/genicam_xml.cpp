// The additions to the fake camera's XML. Addresses come from register_map.h only.
#include "emulator/genicam_xml.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "emulator/register_map.h"

namespace quarx::emulator {
namespace {

// SourceSelector gets one entry per source only for a plausible count; a count outside this
// range is offered as SourceCount alone, so that the tool's handling of it can be tested.
constexpr std::int32_t kMaxSelectableSources = 64;

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", value);
  return text;
}

std::string IntReg(const std::string& name, std::uint32_t address, const std::string& access,
                   const std::string& sign = "Unsigned", const std::string& index = "") {
  std::string xml =
      "\t<IntReg Name=\"" + name + "\" NameSpace=\"Custom\">\n" + "\t\t<Address>" + Hex(address) + "</Address>\n";
  if (!index.empty()) {
    xml += "\t\t<pIndex Offset=\"" + std::to_string(reg::kFileSizeStride) + "\">" + index + "</pIndex>\n";
  }
  xml += "\t\t<Length>4</Length>\n\t\t<AccessMode>" + access +
         "</AccessMode>\n\t\t<pPort>Device</pPort>\n"
         // The behaviour thread changes these behind the client's back: never cache them.
         "\t\t<Cachable>NoCache</Cachable>\n"
         "\t\t<Sign>" +
         sign + "</Sign>\n\t\t<Endianess>BigEndian</Endianess>\n\t</IntReg>\n\n";
  return xml;
}

std::string Integer(const std::string& name, const std::string& pValue, const std::string& limits = "") {
  return "\t<Integer Name=\"" + name + "\" NameSpace=\"Standard\">\n\t\t<pValue>" + pValue + "</pValue>\n" + limits +
         "\t</Integer>\n\n";
}

std::string Command(const std::string& name, const std::string& pValue) {
  return "\t<Command Name=\"" + name + "\" NameSpace=\"Standard\">\n\t\t<pValue>" + pValue +
         "</pValue>\n\t\t<CommandValue>" + std::to_string(kCommandValue) + "</CommandValue>\n\t</Command>\n\n";
}

struct Entry {
  std::string name;
  std::uint32_t value;
  std::string isAvailable;  // node whose value decides availability; empty = always
};

std::string Enumeration(const std::string& name, const std::vector<Entry>& entries, const std::string& pValue) {
  std::string xml = "\t<Enumeration Name=\"" + name + "\" NameSpace=\"Standard\">\n";
  for (const Entry& entry : entries) {
    xml += "\t\t<EnumEntry Name=\"" + entry.name + "\" NameSpace=\"Standard\">\n";
    if (!entry.isAvailable.empty()) {
      xml += "\t\t\t<pIsAvailable>" + entry.isAvailable + "</pIsAvailable>\n";
    }
    xml += "\t\t\t<Value>" + std::to_string(entry.value) + "</Value>\n\t\t</EnumEntry>\n";
  }
  return xml + "\t\t<pValue>" + pValue + "</pValue>\n\t</Enumeration>\n\n";
}

std::string Category(const std::string& name, const std::vector<std::string>& features) {
  std::string xml = "\t<Category Name=\"" + name + "\" NameSpace=\"Standard\">\n";
  for (const std::string& feature : features) {
    xml += "\t\t<pFeature>" + feature + "</pFeature>\n";
  }
  return xml + "\t</Category>\n\n";
}

std::string StringReg(const std::string& name, std::uint32_t address, std::uint32_t length, const std::string& access) {
  return "\t<StringReg Name=\"" + name + "\" NameSpace=\"Standard\">\n\t\t<Address>" + Hex(address) +
         "</Address>\n\t\t<Length>" + std::to_string(length) + "</Length>\n\t\t<AccessMode>" + access +
         "</AccessMode>\n\t\t<pPort>Device</pPort>\n\t</StringReg>\n\n";
}

std::uint32_t Value(FileId id) { return static_cast<std::uint32_t>(id); }

std::string DeviceControlNodes(const EmulatorOptions& options) {
  const bool mapped = options.serialFeature.has_value();
  return StringReg("DeviceSerialNumber", mapped ? reg::kSerialNumberFeature : bootstrap::kSerialNumber,
                   mapped ? reg::kSerialNumberFeatureSize : bootstrap::kSerialNumberSize, "RO") +
         StringReg("DeviceUserID", bootstrap::kUserDefinedName, bootstrap::kUserDefinedNameSize, "RW") +
         Command("DeviceReset", "DeviceResetRegister") + IntReg("DeviceResetRegister", reg::kDeviceReset, "WO");
}

std::string FileAccessNodes() {
  const std::string readOnly = std::to_string(Value(FileId::ReadOnlyFile));
  std::string xml =
      Category("FileAccessControl",
               {"FileSelector", "FileOperationSelector", "FileOpenMode", "FileAccessBuffer", "FileAccessOffset",
                "FileAccessLength", "FileOperationStatus", "FileOperationResult", "FileOperationExecute", "FileSize"});
  xml += Enumeration("FileSelector",
                     {{"Firmware", Value(FileId::Firmware), ""},
                      {"ReadOnlyFile", Value(FileId::ReadOnlyFile), ""},
                      {"FailingFile", Value(FileId::FailingFile), ""}},
                     "FileSelectorRegister");
  xml += IntReg("FileSelectorRegister", reg::kFileSelector, "RW");
  xml += Enumeration("FileOperationSelector",
                     {{"Open", static_cast<std::uint32_t>(FileOperation::Open), ""},
                      {"Close", static_cast<std::uint32_t>(FileOperation::Close), ""},
                      {"Read", static_cast<std::uint32_t>(FileOperation::Read), ""},
                      {"Write", static_cast<std::uint32_t>(FileOperation::Write), ""}},
                     "FileOperationSelectorRegister");
  xml += IntReg("FileOperationSelectorRegister", reg::kFileOperationSelector, "RW");
  // Writing is offered for every file but the read-only one. GenICam spells "not equal" as
  // "<>" (escaped in XML); "!=" would make the entries unavailable for every file.
  xml += Enumeration("FileOpenMode",
                     {{"Read", static_cast<std::uint32_t>(FileOpenMode::Read), ""},
                      {"Write", static_cast<std::uint32_t>(FileOpenMode::Write), "FileSelectedIsWritable"},
                      {"ReadWrite", static_cast<std::uint32_t>(FileOpenMode::ReadWrite), "FileSelectedIsWritable"}},
                     "FileOpenModeRegister");
  xml += IntReg("FileOpenModeRegister", reg::kFileOpenMode, "RW");
  xml +=
      "\t<IntSwissKnife Name=\"FileSelectedIsWritable\" NameSpace=\"Custom\">\n"
      "\t\t<pVariable Name=\"SEL\">FileSelector</pVariable>\n"
      "\t\t<Formula>SEL &lt;&gt; " +
      readOnly + "</Formula>\n\t</IntSwissKnife>\n\n";
  xml += "\t<Register Name=\"FileAccessBuffer\" NameSpace=\"Standard\">\n\t\t<Address>" + Hex(reg::kFileAccessBuffer) +
         "</Address>\n\t\t<Length>" + std::to_string(reg::kFileAccessBufferSize) +
         "</Length>\n\t\t<AccessMode>RW</AccessMode>\n\t\t<pPort>Device</pPort>\n"
         "\t\t<Cachable>NoCache</Cachable>\n\t</Register>\n\n";
  xml += Integer("FileAccessOffset", "FileAccessOffsetRegister", "\t\t<Min>0</Min>\n");
  xml += IntReg("FileAccessOffsetRegister", reg::kFileAccessOffset, "RW");
  xml += Integer("FileAccessLength", "FileAccessLengthRegister",
                 "\t\t<Min>0</Min>\n\t\t<Max>" + std::to_string(reg::kFileAccessBufferSize) + "</Max>\n");
  xml += IntReg("FileAccessLengthRegister", reg::kFileAccessLength, "RW");
  xml += Enumeration("FileOperationStatus",
                     {{"Success", static_cast<std::uint32_t>(FileOperationStatus::Success), ""},
                      {"Failure", static_cast<std::uint32_t>(FileOperationStatus::Failure), ""}},
                     "FileOperationStatusRegister");
  xml += IntReg("FileOperationStatusRegister", reg::kFileOperationStatus, "RO");
  xml += Integer("FileOperationResult", "FileOperationResultRegister");
  xml += IntReg("FileOperationResultRegister", reg::kFileOperationResult, "RO");
  xml += Command("FileOperationExecute", "FileOperationExecuteRegister");
  xml += IntReg("FileOperationExecuteRegister", reg::kFileOperationExecute, "RW");
  xml += Integer("FileSize", "FileSizeRegister");
  xml += IntReg("FileSizeRegister", reg::kFileSizeBase, "RO", "Unsigned", "FileSelector");
  return xml;
}

std::string FirmwareUpdateNodes() {
  std::string xml =
      Category("FirmwareUpdateControl", {"FirmwareUpdateMode", "FirmwareUpdateExecute", "FirmwareUpdateStatus"});
  xml += Enumeration("FirmwareUpdateMode",
                     {{"Off", static_cast<std::uint32_t>(FirmwareUpdateMode::Off), ""},
                      {"On", static_cast<std::uint32_t>(FirmwareUpdateMode::On), ""}},
                     "FirmwareUpdateModeRegister");
  xml += IntReg("FirmwareUpdateModeRegister", reg::kFirmwareUpdateMode, "RW");
  xml += Command("FirmwareUpdateExecute", "FirmwareUpdateExecuteRegister");
  xml += IntReg("FirmwareUpdateExecuteRegister", reg::kFirmwareUpdateExecute, "RW");
  xml += Enumeration("FirmwareUpdateStatus",
                     {{"Idle", static_cast<std::uint32_t>(FirmwareUpdateStatus::Idle), ""},
                      {"InProgress", static_cast<std::uint32_t>(FirmwareUpdateStatus::InProgress), ""},
                      {"Success", static_cast<std::uint32_t>(FirmwareUpdateStatus::Success), ""},
                      {"Failure", static_cast<std::uint32_t>(FirmwareUpdateStatus::Failure), ""}},
                     "FirmwareUpdateStatusRegister");
  xml += IntReg("FirmwareUpdateStatusRegister", reg::kFirmwareUpdateStatus, "RO");
  return xml;
}

std::string SourceNodes(std::int32_t sources) {
  const bool selectable = sources >= 1 && sources <= kMaxSelectableSources;
  std::vector<std::string> features = {"SourceCount"};
  if (selectable) {
    features.push_back("SourceSelector");
  }
  std::string xml = Category("SourceControl", features);
  xml += Integer("SourceCount", "SourceCountRegister");
  xml += IntReg("SourceCountRegister", reg::kSourceCount, "RO", "Signed");
  if (selectable) {
    std::vector<Entry> entries;
    for (std::int32_t i = 0; i < sources; ++i) {
      entries.push_back({"Source" + std::to_string(i), static_cast<std::uint32_t>(i), ""});
    }
    xml += Enumeration("SourceSelector", entries, "SourceSelectorRegister");
    xml += IntReg("SourceSelectorRegister", reg::kSourceSelector, "RW");
  }
  return xml;
}

// Inserts `text` right before the closing tag of the category named `name`.
void AddToCategory(std::string& xml, const std::string& name, const std::string& text) {
  const std::string open = "<Category Name=\"" + name + "\"";
  const std::size_t start = xml.find(open);
  const std::size_t end = start == std::string::npos ? start : xml.find("\t</Category>", start);
  if (end == std::string::npos) {
    throw std::runtime_error("the fake camera's XML has no category " + name);
  }
  xml.insert(end, text);
}

std::string FeatureRefs(const std::vector<std::string>& features) {
  std::string text;
  for (const std::string& feature : features) {
    text += "\t\t<pFeature>" + feature + "</pFeature>\n";
  }
  return text;
}

}  // namespace

std::string BuildGenicamXml(const std::string& baseXml, const EmulatorOptions& options) {
  std::string xml = baseXml;
  std::vector<std::string> rootFeatures = {"FileAccessControl", "FirmwareUpdateControl"};
  std::string nodes = "\t<!-- Added by fwcam-emulator -->\n\n" + DeviceControlNodes(options) + FileAccessNodes() +
                      FirmwareUpdateNodes();
  if (options.sources) {
    rootFeatures.push_back("SourceControl");
    nodes += SourceNodes(*options.sources);
  }
  AddToCategory(xml, "Root", FeatureRefs(rootFeatures));
  AddToCategory(xml, "DeviceControl", FeatureRefs({"DeviceSerialNumber", "DeviceUserID", "DeviceReset"}));
  const std::string closing = "</RegisterDescription>";
  const std::size_t end = xml.rfind(closing);
  if (end == std::string::npos) {
    throw std::runtime_error("the fake camera's XML has no " + closing);
  }
  xml.insert(end, nodes);
  return xml;
}

}  // namespace quarx::emulator
