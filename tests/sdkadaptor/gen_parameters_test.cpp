// The adaptor's node map and typed nodes over an SDK node map built from a GenICam description
// in memory: lookups, kinds, texts and relations, and the typed operations the adaptor adds.
#include "sdkadaptor/src/gen_parameters.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>

#include "camerasdk/PvGenParameterArray.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "sdkadaptor/src/gen_file.h"
#include "tests/support/genicam_document.h"
#include "tests/support/log_capture.h"
#include "tests/support/thrown_adaptor_exception.h"

namespace quarx::sdkadaptor {
namespace {

using quarx::test::Thrown;

const std::string kXml = quarx::test::GenicamDocument(R"(
  <Category Name="Root" NameSpace="Standard"><pFeature>Gain</pFeature></Category>
  <Integer Name="Gain" NameSpace="Custom"><Value>5</Value><Min>0</Min><Max>100</Max></Integer>
  <Float Name="Exposure" NameSpace="Custom"><Value>1.5</Value><Min>0</Min><Max>100</Max></Float>
  <Boolean Name="Flag" NameSpace="Custom"><pValue>FlagValue</pValue></Boolean>
  <Integer Name="FlagValue" NameSpace="Custom"><Value>0</Value></Integer>
  <Boolean Name="Gone" NameSpace="Custom"><pIsAvailable>Zero</pIsAvailable><pValue>FlagValue</pValue></Boolean>
  <Enumeration Name="Mode" NameSpace="Custom"><EnumEntry Name="First"><Value>0</Value></EnumEntry>
    <EnumEntry Name="Second"><pIsAvailable>Zero</pIsAvailable><Value>1</Value></EnumEntry>
    <EnumEntry Name="Third"><Value>2</Value></EnumEntry><pValue>ModeValue</pValue></Enumeration>
  <Integer Name="ModeValue" NameSpace="Custom"><Value>0</Value></Integer>
  <String Name="Label" NameSpace="Custom"><Value>abc</Value></String>
  <Integer Name="Zero" NameSpace="Custom"><Value>0</Value></Integer>
  <Enumeration Name="Band" NameSpace="Custom"><ToolTip>Band tip</ToolTip><Description>Band text</Description>
    <DisplayName>Gain band</DisplayName><pSelected>Gain</pSelected><pValue>ModeValue</pValue>
    <EnumEntry Name="Low"><ToolTip>Low tip</ToolTip><Value>0</Value></EnumEntry></Enumeration>)");

bool Contains(const quarx::test::LogCapture& log, const std::string& line) {
  return log.Text().find(line) != std::string::npos;
}

class GenParametersTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(sdk_.BindDocument(kXml).IsOK()); }

  PvGenParameterArray sdk_;
  GenParameters map_{&sdk_};
};

TEST_F(GenParametersTest, AbsentNamesAreNullIndicesPastTheEndInvalidAndAbsentFileFeaturesRefused) {
  quarx::test::LogCapture log;
  EXPECT_EQ(map_.Get("Nothing"), nullptr);
  EXPECT_EQ(map_.GetInteger("Nothing"), nullptr);
  EXPECT_TRUE(Contains(log, "[error] <Get> Invalid Parameter Name(Nothing)"));
  EXPECT_TRUE(Contains(log, "[error] <GetInteger> Invalid Parameter Name(Nothing)"));
  const unsigned int count = map_.GetCount();
  EXPECT_EQ(map_.Get(0u)->GetName(), "Root");
  EXPECT_NE(map_.Get(count - 1), nullptr);
  const ExceptionSdkAdaptor e = Thrown([&] { map_.Get(count); });
  EXPECT_EQ(e.GetCode(), 0x100001u);
  EXPECT_TRUE(Contains(log, "[error] <Get> Invalid Parameter Index(" + std::to_string(count) + ")"));
  // File access on a map without the file features fails cleanly.
  GenFile file(&sdk_);
  EXPECT_FALSE(file.IsSupported());
  EXPECT_FALSE(file.IsWritable("Firmware"));
  EXPECT_EQ(Thrown([&] { file.Open("Firmware", GenOpenMode::Write); }).GetCode(), 0x1Au);
  const ExceptionSdkAdaptor progress = Thrown([&] { file.GetProgress(); });
  EXPECT_EQ(progress.GetCode(), 0x4000u);
  EXPECT_EQ(progress.GetDescription(), "Return value of GetProgress() is invalid.");
  EXPECT_TRUE(Contains(log, "[error] <GetProgress> total size = 0"));
}

// Asked for as another kind, by the map's typed lookups or by a typed node made over it (one
// check serves every typed node).
TEST_F(GenParametersTest, NodeOfAnotherKindIsInvalidParameterTypeNamingTheKind) {
  const std::pair<std::function<void()>, std::string> cases[] = {
      {[&] { map_.GetBoolean("Gain"); }, "<GetBoolean> (Gain is not boolean.)"},
      {[&] { map_.GetCommand("Gain"); }, "<GetCommand> (Gain is not command.)"},
      {[&] { map_.GetEnum("Gain"); }, "<GetEnum> (Gain is not enum.)"},
      {[&] { map_.GetFloat("Gain"); }, "<GetFloat> (Gain is not float.)"},
      {[&] { map_.GetInteger("Exposure"); }, "<GetInteger> (Exposure is not integer.)"},
      {[&] { map_.GetRegister("Gain"); }, "<GetRegister> (Gain is not register.)"},
      {[&] { map_.GetString("Gain"); }, "<GetString> (Gain is not string.)"},
      {[&] { GenBoolean(sdk_.Get(PvString("Gain"))).GetValue(); }, "(Gain is not boolean.)"},
      {[&] { GenInteger(sdk_.Get(PvString("Label"))).GetValue(); }, "(Label is not integer.)"},
  };
  for (const auto& [use, text] : cases) {
    quarx::test::LogCapture log;
    const ExceptionSdkAdaptor e = Thrown(use);
    EXPECT_EQ(e.GetCode(), 0x1000003u);
    EXPECT_EQ("(" + e.GetDescription() + ")", text.substr(text.find('(')));
    if (text[0] == '<') {
      EXPECT_TRUE(Contains(log, "[error] " + text)) << text;
    }
  }
}

TEST_F(GenParametersTest, TextsAndSelectorRelationsReadAsGivenAndFailOnceTheDocumentIsGone) {
  std::shared_ptr<InterfaceGenParameter> band = map_.Get("Band");
  ASSERT_NE(band, nullptr);
  EXPECT_EQ(band->GetDisplayName() + "|" + band->GetDescription() + "|" + band->GetToolTip() + "|" + band->ToString(),
            "Gain band|Band text|Band tip|Low");
  EXPECT_EQ(map_.Get("Gain")->GetCategory(), "Root");
  EXPECT_EQ(band->GetSelectedParameters(), std::vector<std::string>{"Gain"});
  EXPECT_EQ(map_.Get("Gain")->GetSelectingParameters(), std::vector<std::string>{"Band"});
  const auto entries = map_.GetEnum("Band")->GetEntries(false);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0]->GetToolTip(), "Low tip");

  quarx::test::LogCapture log;
  sdk_.Unbind();
  EXPECT_EQ(Thrown([&] { band->GetDescription(); }).GetCode(), 0x17u);
  EXPECT_TRUE(Contains(log, "[error] <GetDescription> Result(NotConnected)"));
  EXPECT_EQ(Thrown([&] { entries[0]->GetToolTip(); }).GetCode(), 0x17u);
  EXPECT_TRUE(band->GetSelectedParameters().empty());
}

TEST_F(GenParametersTest, BooleanTextInAnyCaseReachesTheSdkLoweredAndAValueFailureLogsOnlyTheWarning) {
  auto flag = map_.GetBoolean("Flag");
  for (const char* text : {"TRUE", "tRuE"}) {
    flag->SetValue(false);
    flag->FromString(text);
    EXPECT_TRUE(flag->GetValue()) << text;
  }
  const ExceptionSdkAdaptor refused = Thrown([&] { flag->FromString("YES"); });
  EXPECT_EQ(refused.GetCodeString() + "/" + refused.GetDescription(), "InvalidParameter/Invalid boolean value(yes) for Flag");
  auto gone = map_.GetBoolean("Gone");
  quarx::test::LogCapture log;
  EXPECT_EQ(Thrown([&] { gone->GetValue(); }).GetDescription(), "Node is not available");
  ASSERT_EQ(log.Lines().size(), 1u);
  EXPECT_EQ(log.Lines()[0].rfind("[warning] ThrowExceptionWhenError", 0), 0u);
}

TEST_F(GenParametersTest, EnumerationEntriesFilterUnavailableOnesKeepingOrder) {
  auto mode = map_.GetEnum("Mode");
  EXPECT_EQ(mode->GetEntries(false).size(), 3u);
  const auto available = mode->GetEntries(true);
  ASSERT_EQ(available.size(), 2u);
  EXPECT_EQ(available[0]->GetName() + available[1]->GetName(), "FirstThird");
  EXPECT_EQ(available[1]->GetValue(), 2);
  mode->SetValue(std::string("Third"));
  EXPECT_EQ(mode->GetValueAsInt64(), 2);
  mode->SetValue(uint64_t{0});
  // Above the largest signed value the number reaches the SDK negative, and no entry has it.
  EXPECT_THROW(mode->SetValue(std::numeric_limits<uint64_t>::max()), ExceptionSdkAdaptor);
  EXPECT_EQ(mode->GetValueAsString(), "First");
}

}  // namespace
}  // namespace quarx::sdkadaptor
