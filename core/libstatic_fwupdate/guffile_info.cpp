// The update package reader and the package model built from the control XML's records.
#include "core/libstatic_fwupdate/guffile_info.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>

#include <fmt/format.h>

#include "core/libstatic_fwupdate/exception_update_impl.h"
#include "core/libstatic_fwupdate/guf_controlxml.h"
#include "util/quarxlog.h"

namespace quarx::core::fwupdate {
namespace {

namespace procedure = control_xml::procedure;

constexpr const char* kPackageEntry = "package.zip";
constexpr const char* kControlXmlEntry = "control.xml";

// Decimal text as the control XML gives it: leading blanks skipped, trailing text ignored, no range
// check beyond int; a negative number wraps into the unsigned field on purpose of the format.
std::uint32_t Number(const std::string& text) { return static_cast<std::uint32_t>(std::stoi(text, nullptr, 10)); }

std::pair<std::string, std::string> DescriptionPair(const procedure::Item& item) {
  const procedure::Description description = item.GetDescription();
  return {description.GetValue(), description.GetLang()};
}

}  // namespace

ProcedureItem::ProcedureItem(ProcedureType type, const std::pair<std::string, std::string>& description)
    : procedureType(type), description(description) {}

void ProcedureItem::SetFeatureWriteValue(const std::string& name, const std::string& text) {
  featureName = name;
  value = text;
}

void ProcedureItem::SetFeaturExecuteValue(const std::string& name, std::uint32_t timeoutMs) {
  featureName = name;
  maximumExecutionTimeoutMs = timeoutMs;
}

void ProcedureItem::SetFeaturAssertValue(const std::string& name, const std::string& pattern) {
  featureName = name;
  assertPattern = pattern;
}

void ProcedureItem::SetFileUploadValue(const std::string& deviceFile, const std::string& file) {
  deviceFileName = deviceFile;
  fileName = file;
}

void ProcedureItem::SetDeviceResetValue(std::uint32_t delayMs) { deviceDiscoveryDelayMs = delayMs; }

ProcedureType ProcedureItem::GetProcedureType() const { return procedureType; }

std::pair<std::string, std::string> ProcedureItem::GetDescription() const { return description; }

std::string ProcedureItem::GetFeatureName() const {
  switch (procedureType) {
    case ProcedureType::FeatureWrite:
    case ProcedureType::FeatureExecute:
    case ProcedureType::FeatureAssert:
      return featureName;
    default:
      throw std::logic_error(fmt::format("Invalid Feature type({})", static_cast<std::uint32_t>(procedureType)));
  }
}

std::string ProcedureItem::GetValue() const {
  if (procedureType != ProcedureType::FeatureWrite) throw std::logic_error("support only FeatureWrite type");
  return value;
}

std::string ProcedureItem::GetDeviceFileName() const {
  if (procedureType != ProcedureType::FileUpload) throw std::logic_error("support only FileUpload type");
  return deviceFileName;
}

std::string ProcedureItem::GetFileName() const {
  if (procedureType != ProcedureType::FileUpload) throw std::logic_error("support only FileUpload type");
  return fileName;
}

std::uint32_t ProcedureItem::GetMaximunExecutionTimeoutMs() const {
  if (procedureType != ProcedureType::FeatureExecute) throw std::logic_error("support only FeatureExecute type");
  return maximumExecutionTimeoutMs;
}

std::uint32_t ProcedureItem::GetDeviceDiscoveryDelayMs() const {
  if (procedureType != ProcedureType::DeviceReset) throw std::logic_error("support only DeviceReset type");
  return deviceDiscoveryDelayMs;
}

std::string ProcedureItem::GetAssertPattern() const {
  if (procedureType != ProcedureType::FeatureAssert) throw std::logic_error("support only FeatureAssert type");
  return assertPattern;
}

Update::Update(const control_xml::Update& record, control_xml::ProcedureMap& procedures)
    : procedureId(record.GetProcedureId()), infoEntries(record.GetInfoEntries()), conditions(record.GetConditions()) {
  SetItems(procedures);
}

Update::Update(const control_xml::Update& record, control_xml::ProcedureMap& procedures, BuiltProcedures& built)
    : procedureId(record.GetProcedureId()), infoEntries(record.GetInfoEntries()), conditions(record.GetConditions()) {
  SetItems(procedures, built);
}

void Update::SetItems(control_xml::ProcedureMap& procedures) {
  BuiltProcedures built;
  SetItems(procedures, built);
}

void Update::SetItems(control_xml::ProcedureMap& procedures, BuiltProcedures& built) {
  const auto known = built.find(procedureId);
  if (known != built.end()) {
    items = known->second;
    return;
  }
  auto steps = std::make_shared<std::vector<ProcedureItem>>();
  const auto found = procedures.emplace(procedureId, control_xml::Procedure(procedureId)).first;
  for (const std::shared_ptr<procedure::Item>& item : found->second.GetItems()) {
    switch (item->GetProcedureType()) {
      case procedure::ProcedureType::FeatureWrite: {
        const auto& step = dynamic_cast<const procedure::FeatureWrite&>(*item);
        ProcedureItem converted(ProcedureType::FeatureWrite, DescriptionPair(step));
        converted.SetFeatureWriteValue(step.GetFeatureName(), step.GetValue());
        steps->push_back(converted);
        break;
      }
      case procedure::ProcedureType::FeatureExecute: {
        const auto& step = dynamic_cast<const procedure::FeatureExecute&>(*item);
        ProcedureItem converted(ProcedureType::FeatureExecute, DescriptionPair(step));
        const std::uint32_t timeoutMs = Number(step.GetMaximumExecutionTimeoutMs());
        converted.SetFeaturExecuteValue(step.GetFeatureName(), timeoutMs);
        steps->push_back(converted);
        break;
      }
      case procedure::ProcedureType::FileUpload: {
        const auto& step = dynamic_cast<const procedure::FileUpload&>(*item);
        ProcedureItem converted(ProcedureType::FileUpload, DescriptionPair(step));
        converted.SetFileUploadValue(step.GetDeviceFileName(), step.GetFileName());
        steps->push_back(converted);
        break;
      }
      case procedure::ProcedureType::FeatureAssert: {
        const auto& step = dynamic_cast<const procedure::FeatureAssert&>(*item);
        ProcedureItem converted(ProcedureType::FeatureAssert, DescriptionPair(step));
        converted.SetFeaturAssertValue(step.GetFeatureName(), step.GetAssertPattern());
        steps->push_back(converted);
        break;
      }
      case procedure::ProcedureType::DeviceReset: {
        const auto& step = dynamic_cast<const procedure::DeviceReset&>(*item);
        ProcedureItem converted(ProcedureType::DeviceReset, DescriptionPair(step));
        converted.SetDeviceResetValue(Number(step.GetDeviceDiscoveryDelayMs()));
        steps->push_back(converted);
        break;
      }
      default:
        break;
    }
  }
  items = steps;
  built.emplace(procedureId, std::move(steps));
}

const std::map<std::string, std::string>& Update::GetConditions() const { return conditions; }

std::map<std::string, std::string> Update::GetInfoEntries() const { return infoEntries; }

std::string Update::GetInfoEntry(const std::string& key) const {
  const auto it = infoEntries.find(key);
  return it == infoEntries.end() ? std::string() : it->second;
}

std::vector<ProcedureItem> Update::GetProceureItems() const {
  return items ? *items : std::vector<ProcedureItem>();
}

GuffileInfo::GuffileInfo(const std::string& path) : path(path), unzip(std::make_unique<UnzipMem>(path)) {}

GuffileInfo::~GuffileInfo() = default;

std::string GuffileInfo::GetGuffileName() const { return path; }

bool GuffileInfo::CheckFileExistence(const std::string& file) const {
  // Only a regular file is a package. The open must not wait: opening a FIFO for reading blocks
  // until a writer comes, so it is opened without blocking and asked what it is.
  const int fd = open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    return false;
  }
  struct stat status {};
  const bool regular = fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
  close(fd);
  return regular;
}

std::vector<std::unique_ptr<Update>> GuffileInfo::GetUpdates() const {
  std::vector<std::unique_ptr<Update>> result;
  try {
    if (!CheckFileExistence(path)) {
      throw FWUpdateExceptionImpl(__func__, __LINE__, ERR_UPDATE_FILE, fmt::format("File not found ({})", path));
    }
    ExtractedFileInfo controlXml;
    {
      // The inner package is needed only until "control.xml" is out of it.
      const ExtractedFileInfo package = unzip->ExtractFile(kPackageEntry, kMaxPackageZipSize);
      const auto [packageData, packageSize] = package.GetInfo();
      const UnzipMem inner(packageData, packageSize);
      controlXml = inner.ExtractFile(kControlXmlEntry, kMaxControlXmlSize);
    }
    const auto [xmlData, xmlSize] = controlXml.GetInfo();
    const GufControlXml xml(xmlData, xmlSize);
    const std::vector<control_xml::Update> records = xml.GetUpdates();
    control_xml::ProcedureMap procedures = xml.GetProcedures();
    BuiltProcedures built;
    for (const control_xml::Update& record : records) {
      result.push_back(std::make_unique<Update>(record, procedures, built));
    }
  } catch (const quarx::fwupdate::FWUpdateException& e) {
    // Callers see the public class; the copy logs nothing more.
    throw quarx::fwupdate::FWUpdateException(e);
  } catch (const std::exception& e) {
    util::Log::GetInstance("").logger_->error("<{}> ({})", __func__, e.what());
    throw std::exception();
  }
  return result;
}

void GuffileInfo::ReadUploadFiles(const std::vector<ProcedureItem>& steps) {
  // The firmware is inflated here once, before the camera is touched: a missing or damaged file
  // must stop the update while the camera is still as it was, not halfway through it.
  std::map<std::string, ExtractedFileInfo> files;
  const ExtractedFileInfo package = unzip->ExtractFile(kPackageEntry, kMaxPackageZipSize);
  const auto [packageData, packageSize] = package.GetInfo();
  const UnzipMem inner(packageData, packageSize);
  for (const ProcedureItem& step : steps) {
    if (step.GetProcedureType() == ProcedureType::FileUpload && files.count(step.GetFileName()) == 0) {
      files.emplace(step.GetFileName(), inner.ExtractFile(step.GetFileName(), kMaxFirmwareFileSize));
    }
  }
  uploadFiles = std::move(files);
}

std::pair<const std::uint8_t*, std::size_t> GuffileInfo::GetFile(const std::string& fileName) {
  const auto read = uploadFiles.find(fileName);
  if (read != uploadFiles.end()) {
    return read->second.GetInfo();
  }
  // Let go of the previous file first, so that two firmware images are never held at once.
  handedOut = ExtractedFileInfo();
  const ExtractedFileInfo package = unzip->ExtractFile(kPackageEntry, kMaxPackageZipSize);
  const auto [packageData, packageSize] = package.GetInfo();
  handedOut = UnzipMem(packageData, packageSize).ExtractFile(fileName, kMaxFirmwareFileSize);
  return handedOut.GetInfo();
}

}  // namespace quarx::core::fwupdate
