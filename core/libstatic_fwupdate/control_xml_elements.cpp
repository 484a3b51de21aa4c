// The control XML reader's records.
#include "core/libstatic_fwupdate/control_xml_elements.h"

namespace quarx::core::fwupdate::control_xml {
namespace procedure {

Description::Description(const std::string& value, const std::string& lang) : value(value), lang(lang) {}
std::string Description::GetValue() const { return value; }
std::string Description::GetLang() const { return lang; }

Item::Item(ProcedureType type) : procedureType(type) {}
Item::~Item() = default;
Description Item::GetDescription() const { return description; }
ProcedureType Item::GetProcedureType() const { return procedureType; }
void Item::SetDescription(const Description& d) { description = d; }

Feature::Feature(const std::string& featureName, ProcedureType type) : Item(type), featureName(featureName) {}
std::string Feature::GetFeatureName() const { return featureName; }

FeatureWrite::FeatureWrite(const std::string& featureName, const std::string& value)
    : Feature(featureName, ProcedureType::FeatureWrite), value(value) {}
std::string FeatureWrite::GetValue() const { return value; }

FeatureExecute::FeatureExecute(const std::string& featureName, const std::string& maximumExecutionTimeoutMs)
    : Feature(featureName, ProcedureType::FeatureExecute), maximumExecutionTimeoutMs(maximumExecutionTimeoutMs) {}
std::string FeatureExecute::GetMaximumExecutionTimeoutMs() const { return maximumExecutionTimeoutMs; }

FeatureAssert::FeatureAssert(const std::string& featureName, const std::string& assertPattern)
    : Feature(featureName, ProcedureType::FeatureAssert), assertPattern(assertPattern) {}
std::string FeatureAssert::GetAssertPattern() const { return assertPattern; }

FileUpload::FileUpload(const std::string& deviceFileName, const std::string& fileName)
    : Item(ProcedureType::FileUpload), deviceFileName(deviceFileName), fileName(fileName) {}
std::string FileUpload::GetDeviceFileName() const { return deviceFileName; }
std::string FileUpload::GetFileName() const { return fileName; }

DeviceReset::DeviceReset(const std::string& deviceDiscoveryDelayMs)
    : Item(ProcedureType::DeviceReset), deviceDiscoveryDelayMs(deviceDiscoveryDelayMs) {}
std::string DeviceReset::GetDeviceDiscoveryDelayMs() const { return deviceDiscoveryDelayMs; }

}  // namespace procedure

Procedure::Procedure(const std::string& id) : id(id) {}
void Procedure::AddItem(const std::shared_ptr<procedure::Item>& item) { items.push_back(item); }
std::vector<std::shared_ptr<procedure::Item>> Procedure::GetItems() const { return items; }
std::string Procedure::GetId() const { return id; }

Update::Update(const std::string& procedureId) : procedureId(procedureId) {}
void Update::AddInfoEntry(const std::string& key, const std::string& value) { infoEntries.emplace(key, value); }
void Update::AddCondition(const std::string& feature, const std::string& pattern) {
  conditions.emplace(feature, pattern);
}
std::string Update::GetProcedureId() const { return procedureId; }
std::map<std::string, std::string> Update::GetInfoEntries() const { return infoEntries; }
std::map<std::string, std::string> Update::GetConditions() const { return conditions; }

}  // namespace quarx::core::fwupdate::control_xml
