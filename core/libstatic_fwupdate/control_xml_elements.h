#pragma once
// The records the control XML reader makes: updates, procedures and their typed items.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace quarx::core::fwupdate::control_xml {
namespace procedure {

// The reader's own numbering of item kinds; the package model numbers them differently.
enum class ProcedureType : std::uint32_t {
  FeatureWrite = 0,
  FeatureExecute = 1,
  FileUpload = 2,
  FeatureAssert = 3,
  DeviceReset = 4,
};

class Description {
 public:
  Description() = default;
  Description(const std::string& value, const std::string& lang);
  std::string GetValue() const;
  std::string GetLang() const;

 private:
  std::string value;
  std::string lang;
};

class Item {
 public:
  explicit Item(ProcedureType type);
  virtual ~Item();
  Description GetDescription() const;
  ProcedureType GetProcedureType() const;
  void SetDescription(const Description& description);

 private:
  Description description;
  ProcedureType procedureType;
};

class Feature : public Item {
 public:
  Feature(const std::string& featureName, ProcedureType type);
  std::string GetFeatureName() const;

 private:
  std::string featureName;
};

class FeatureWrite : public Feature {
 public:
  FeatureWrite(const std::string& featureName, const std::string& value);
  std::string GetValue() const;

 private:
  std::string value;
};

class FeatureExecute : public Feature {
 public:
  // The time-out stays text here: the package model converts it.
  FeatureExecute(const std::string& featureName, const std::string& maximumExecutionTimeoutMs);
  std::string GetMaximumExecutionTimeoutMs() const;

 private:
  std::string maximumExecutionTimeoutMs;
};

class FeatureAssert : public Feature {
 public:
  FeatureAssert(const std::string& featureName, const std::string& assertPattern);
  std::string GetAssertPattern() const;

 private:
  std::string assertPattern;
};

class FileUpload : public Item {
 public:
  FileUpload(const std::string& deviceFileName, const std::string& fileName);
  std::string GetDeviceFileName() const;
  std::string GetFileName() const;

 private:
  std::string deviceFileName;
  std::string fileName;
};

class DeviceReset : public Item {
 public:
  explicit DeviceReset(const std::string& deviceDiscoveryDelayMs);
  std::string GetDeviceDiscoveryDelayMs() const;

 private:
  std::string deviceDiscoveryDelayMs;
};

}  // namespace procedure

class Procedure {
 public:
  // Without an id for the package model's lookup of an unknown procedure, which inserts an empty one.
  explicit Procedure(const std::string& id = "");
  void AddItem(const std::shared_ptr<procedure::Item>& item);
  // The items are shared and never change once added.
  std::vector<std::shared_ptr<procedure::Item>> GetItems() const;
  std::string GetId() const;

 private:
  std::vector<std::shared_ptr<procedure::Item>> items;
  std::string id;
};

// Procedures by id; the key type is the one the package model's constructor takes.
using ProcedureMap = std::map<const std::string, Procedure>;

class Update {
 public:
  explicit Update(const std::string& procedureId);
  // Both keep the first value given for a key.
  void AddInfoEntry(const std::string& key, const std::string& value);
  void AddCondition(const std::string& feature, const std::string& pattern);
  std::string GetProcedureId() const;
  std::map<std::string, std::string> GetInfoEntries() const;
  std::map<std::string, std::string> GetConditions() const;

 private:
  std::string procedureId;
  std::map<std::string, std::string> infoEntries;
  std::map<std::string, std::string> conditions;
};

}  // namespace quarx::core::fwupdate::control_xml
