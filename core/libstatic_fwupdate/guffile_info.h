#pragma once
// The update package: its reader (updates and firmware files by name) and the model of its
// updates and their typed steps.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/libstatic_fwupdate/control_xml_elements.h"
#include "core/libstatic_fwupdate/unzip_mem.h"

namespace quarx::core::fwupdate {

// The kind of an update step; numbered unlike the control XML reader's own kinds.
enum class ProcedureType : std::uint32_t {
  FeatureWrite = 0,
  FileUpload = 1,
  FeatureExecute = 2,
  DeviceReset = 3,
  FeatureAssert = 4,
};

// One step of an update. Fields of other kinds stay empty or 0; asking for them throws
// std::logic_error.
class ProcedureItem {
 public:
  // The description pair is (text, language).
  ProcedureItem(ProcedureType type, const std::pair<std::string, std::string>& description);

  void SetFeatureWriteValue(const std::string& featureName, const std::string& value);
  void SetFeaturExecuteValue(const std::string& featureName, std::uint32_t maximumExecutionTimeoutMs);
  void SetFeaturAssertValue(const std::string& featureName, const std::string& assertPattern);
  void SetFileUploadValue(const std::string& deviceFileName, const std::string& fileName);
  void SetDeviceResetValue(std::uint32_t deviceDiscoveryDelayMs);

  ProcedureType GetProcedureType() const;
  std::pair<std::string, std::string> GetDescription() const;
  std::string GetFeatureName() const;
  std::string GetValue() const;
  std::string GetDeviceFileName() const;
  std::string GetFileName() const;
  std::uint32_t GetMaximunExecutionTimeoutMs() const;
  std::uint32_t GetDeviceDiscoveryDelayMs() const;
  std::string GetAssertPattern() const;

 private:
  std::string featureName;
  std::string value;
  std::string deviceFileName;
  std::string fileName;
  std::string assertPattern;
  std::uint32_t maximumExecutionTimeoutMs = 0;
  std::uint32_t deviceDiscoveryDelayMs = 0;
  ProcedureType procedureType;
  std::pair<std::string, std::string> description;
};

// The steps of each procedure, built once and shared by every update that names it: a package
// naming one long procedure from many updates must not multiply it.
using BuiltProcedures = std::map<std::string, std::shared_ptr<const std::vector<ProcedureItem>>>;

// One update of a package: information entries, applicability conditions (feature name to
// regular expression) and the steps of its procedure, in order.
class Update {
 public:
  // An id naming no procedure gives no steps (and adds an empty procedure to `procedures`).
  // Throws std::invalid_argument or std::out_of_range for a step number that is not one.
  Update(const control_xml::Update& record, control_xml::ProcedureMap& procedures);
  // Takes the steps from `built` when another update built them already, and leaves them there.
  Update(const control_xml::Update& record, control_xml::ProcedureMap& procedures, BuiltProcedures& built);

  void SetItems(control_xml::ProcedureMap& procedures);
  void SetItems(control_xml::ProcedureMap& procedures, BuiltProcedures& built);
  const std::map<std::string, std::string>& GetConditions() const;
  std::map<std::string, std::string> GetInfoEntries() const;
  // Empty when the key is absent.
  std::string GetInfoEntry(const std::string& key) const;
  std::vector<ProcedureItem> GetProceureItems() const;

 private:
  std::string procedureId;
  std::map<std::string, std::string> infoEntries;
  std::map<std::string, std::string> conditions;
  std::shared_ptr<const std::vector<ProcedureItem>> items;
};

// Reads an update package: a zip whose stored "package.zip" holds "control.xml" and the
// firmware files. Nothing is cached but the files that ReadUploadFiles read.
class GuffileInfo {
 public:
  explicit GuffileInfo(const std::string& path);
  ~GuffileInfo();
  GuffileInfo(const GuffileInfo&) = delete;
  GuffileInfo& operator=(const GuffileInfo&) = delete;

  std::string GetGuffileName() const;
  bool CheckFileExistence(const std::string& path) const;

  // One update per "Update" element, in document order. Package and control XML failures
  // arrive as quarx::fwupdate::FWUpdateException; anything else as a plain std::exception.
  std::vector<std::unique_ptr<Update>> GetUpdates() const;

  // Reads every file that a FileUpload step of `steps` uploads, out of one extraction of the
  // inner package, and keeps them for GetFile. Fails as GetFile does, before anything is kept.
  void ReadUploadFiles(const std::vector<ProcedureItem>& steps);

  // The bytes of the inner entry `fileName`: a file ReadUploadFiles kept, valid as long as the
  // reader lives, or else one read now, valid until the next such read or the reader's end.
  std::pair<const std::uint8_t*, std::size_t> GetFile(const std::string& fileName);

 private:
  std::string path;
  std::unique_ptr<UnzipMem> unzip;
  ExtractedFileInfo handedOut;
  std::map<std::string, ExtractedFileInfo> uploadFiles;
};

}  // namespace quarx::core::fwupdate
