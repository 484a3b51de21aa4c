// The package model: updates built from the control XML's records, typed steps and their getters.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <stdexcept>

#include "core/libstatic_fwupdate/guffile_info.h"

using namespace quarx::core::fwupdate;
namespace procedure = control_xml::procedure;
using ::testing::ElementsAre;
using ::testing::Pair;
using ::testing::SizeIs;

namespace {

template <class T, class... Args>
std::shared_ptr<procedure::Item> MakeItem(const std::string& description, Args... args) {
  auto item = std::make_shared<T>(args...);
  item->SetDescription(procedure::Description(description, "en"));
  return item;
}

control_xml::ProcedureMap OneProcedure(const std::string& id, std::vector<std::shared_ptr<procedure::Item>> items) {
  control_xml::Procedure procedure(id);
  for (const auto& item : items) procedure.AddItem(item);
  control_xml::ProcedureMap map;
  map.emplace(id, procedure);
  return map;
}

Update UpdateWith(std::vector<std::shared_ptr<procedure::Item>> items) {
  auto procedures = OneProcedure("P", std::move(items));
  return Update(control_xml::Update("P"), procedures);
}

std::string LogicErrorText(const std::function<void()>& call) {
  try {
    call();
  } catch (const std::logic_error& e) {
    return e.what();
  }
  return "no logic_error";
}

}  // namespace

TEST(PackageModel, MapsReaderKindsToStepKindsKeepingOrderAndFields) {
  const Update update = UpdateWith({
      MakeItem<procedure::DeviceReset>("reset", "5000"),
      MakeItem<procedure::FeatureAssert>("assert", "DeviceVersion", "2\\..*"),
      MakeItem<procedure::FileUpload>("upload", "Firmware", "fw.bin"),
      MakeItem<procedure::FeatureExecute>("execute", "Install", "30000"),
      MakeItem<procedure::FeatureWrite>("write", "Mode", " on "),
  });
  const auto steps = update.GetProceureItems();
  ASSERT_THAT(steps, SizeIs(5));
  EXPECT_EQ(steps[0].GetProcedureType(), ProcedureType::DeviceReset);
  EXPECT_EQ(steps[0].GetDeviceDiscoveryDelayMs(), 5000u);
  EXPECT_EQ(steps[1].GetProcedureType(), ProcedureType::FeatureAssert);
  EXPECT_EQ(steps[1].GetFeatureName(), "DeviceVersion");
  EXPECT_EQ(steps[1].GetAssertPattern(), "2\\..*");
  EXPECT_EQ(steps[2].GetProcedureType(), ProcedureType::FileUpload);
  EXPECT_EQ(steps[2].GetDeviceFileName(), "Firmware");
  EXPECT_EQ(steps[2].GetFileName(), "fw.bin");
  EXPECT_EQ(steps[3].GetProcedureType(), ProcedureType::FeatureExecute);
  EXPECT_EQ(steps[3].GetFeatureName(), "Install");
  EXPECT_EQ(steps[3].GetMaximunExecutionTimeoutMs(), 30000u);
  EXPECT_EQ(steps[4].GetProcedureType(), ProcedureType::FeatureWrite);
  EXPECT_EQ(steps[4].GetFeatureName(), "Mode");
  EXPECT_EQ(steps[4].GetValue(), " on ");
  EXPECT_EQ(steps[4].GetDescription(), std::make_pair(std::string("write"), std::string("en")));
  EXPECT_EQ(static_cast<int>(ProcedureType::FileUpload), 1);
  EXPECT_EQ(static_cast<int>(procedure::ProcedureType::FileUpload), 2);
}

TEST(PackageModel, StepNumbersAreReadLikeStoi) {
  struct Case {
    std::string text;
    std::uint32_t expected;
  };
  for (const Case& c : {Case{"  42", 42}, Case{"3000ms", 3000}, Case{"-1", std::numeric_limits<std::uint32_t>::max()},
                        Case{"+7", 7}}) {
    const Update update = UpdateWith({MakeItem<procedure::FeatureExecute>("", "F", c.text),
                                      MakeItem<procedure::DeviceReset>("", c.text)});
    EXPECT_EQ(update.GetProceureItems()[0].GetMaximunExecutionTimeoutMs(), c.expected) << c.text;
    EXPECT_EQ(update.GetProceureItems()[1].GetDeviceDiscoveryDelayMs(), c.expected) << c.text;
  }
  EXPECT_THROW(UpdateWith({MakeItem<procedure::FeatureExecute>("", "F", "abc")}), std::invalid_argument);
  EXPECT_THROW(UpdateWith({MakeItem<procedure::DeviceReset>("", "")}), std::invalid_argument);
  EXPECT_THROW(UpdateWith({MakeItem<procedure::FeatureExecute>("", "F", "99999999999")}), std::out_of_range);
}

TEST(PackageModel, UnknownProcedureGivesNoStepsButKeepsConditionsAndEntries) {
  control_xml::Update record("Missing");
  record.AddCondition("DeviceModelName", "VM.*");
  record.AddInfoEntry("Version", "2.0");
  auto procedures = OneProcedure("P", {MakeItem<procedure::DeviceReset>("", "1")});
  const Update update(record, procedures);
  EXPECT_TRUE(update.GetProceureItems().empty());
  EXPECT_THAT(update.GetConditions(), ElementsAre(Pair("DeviceModelName", "VM.*")));
  EXPECT_THAT(update.GetInfoEntries(), ElementsAre(Pair("Version", "2.0")));
  EXPECT_EQ(update.GetInfoEntry("Version"), "2.0");
  EXPECT_EQ(update.GetInfoEntry("Description"), "");
  EXPECT_EQ(procedures.count("Missing"), 1u);
}

TEST(PackageModel, UpdatesNamingOneProcedureGetTheirOwnSteps) {
  auto procedures = OneProcedure("P", {MakeItem<procedure::FeatureWrite>("", "A", "1")});
  const Update first(control_xml::Update("P"), procedures);
  const Update second(control_xml::Update("P"), procedures);
  auto steps = first.GetProceureItems();
  steps[0].SetFeatureWriteValue("B", "2");
  EXPECT_EQ(first.GetProceureItems()[0].GetFeatureName(), "A");
  EXPECT_EQ(second.GetProceureItems()[0].GetFeatureName(), "A");
}

TEST(ProcedureItem, GettersOfAnotherKindThrowLogicErrors) {
  const std::pair<std::string, std::string> description{"d", "en"};
  const ProcedureItem execute(ProcedureType::FeatureExecute, description);
  const ProcedureItem reset(ProcedureType::DeviceReset, description);
  const ProcedureItem upload(ProcedureType::FileUpload, description);
  EXPECT_EQ(LogicErrorText([&] { execute.GetValue(); }), "support only FeatureWrite type");
  EXPECT_EQ(LogicErrorText([&] { execute.GetDeviceFileName(); }), "support only FileUpload type");
  EXPECT_EQ(LogicErrorText([&] { execute.GetFileName(); }), "support only FileUpload type");
  EXPECT_EQ(LogicErrorText([&] { reset.GetMaximunExecutionTimeoutMs(); }), "support only FeatureExecute type");
  EXPECT_EQ(LogicErrorText([&] { execute.GetDeviceDiscoveryDelayMs(); }), "support only DeviceReset type");
  EXPECT_EQ(LogicErrorText([&] { execute.GetAssertPattern(); }), "support only FeatureAssert type");
  EXPECT_EQ(LogicErrorText([&] { reset.GetFeatureName(); }), "Invalid Feature type(3)");
  EXPECT_EQ(LogicErrorText([&] { upload.GetFeatureName(); }), "Invalid Feature type(1)");
  EXPECT_EQ(execute.GetFeatureName(), "");
  EXPECT_EQ(reset.GetDescription(), description);
}
