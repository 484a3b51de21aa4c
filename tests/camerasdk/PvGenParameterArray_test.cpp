// Node maps over a GenICam description in memory: node kinds by tag, document order, access
// texts, enumeration entries, command completion, selectors and categories.
#include "camerasdk/PvGenParameterArray.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "camerasdk/PvGenCommand.h"
#include "camerasdk/PvGenEnum.h"
#include "camerasdk/PvGenInteger.h"
#include "tests/support/genicam_document.h"

namespace {

using quarx::test::GenicamDocument;

const std::string kXml = GenicamDocument(R"(
  <Category Name="Root" NameSpace="Standard">
    <pFeature>Mode</pFeature>
    <pFeature>Gain</pFeature>
  </Category>
  <Enumeration Name="Mode" NameSpace="Custom">
    <Visibility>Expert</Visibility>
    <pSelected>Gain</pSelected>
    <EnumEntry Name="Zero"><Value>0</Value></EnumEntry>
    <EnumEntry Name="Hidden"><pIsAvailable>Off</pIsAvailable><Value>1</Value></EnumEntry>
    <EnumEntry Name="Two"><Value>2</Value></EnumEntry>
    <pValue>ModeValue</pValue>
  </Enumeration>
  <Integer Name="ModeValue" NameSpace="Custom"><Visibility>Invisible</Visibility><Value>0</Value></Integer>
  <Integer Name="Gain" NameSpace="Custom">
    <Streamable>Yes</Streamable>
    <Value>5</Value><Min>0</Min><Max>100</Max>
  </Integer>
  <Float Name="Exposure" NameSpace="Custom"><Visibility>Guru</Visibility><Value>1.5</Value><Min>0</Min><Max>10</Max></Float>
  <Boolean Name="Flag" NameSpace="Custom"><pValue>FlagValue</pValue></Boolean>
  <Integer Name="FlagValue" NameSpace="Custom"><Value>0</Value></Integer>
  <String Name="Label" NameSpace="Custom"><Value>abc</Value></String>
  <Command Name="Start" NameSpace="Custom"><pValue>StartValue</pValue><CommandValue>1</CommandValue></Command>
  <Integer Name="StartValue" NameSpace="Custom"><Value>0</Value></Integer>
  <Command Name="Fire" NameSpace="Custom"><pValue>FireValue</pValue><CommandValue>1</CommandValue></Command>
  <Integer Name="FireValue" NameSpace="Custom"><ImposedAccessMode>WO</ImposedAccessMode><Value>0</Value></Integer>
  <IntSwissKnife Name="Twice" NameSpace="Custom"><pVariable Name="G">Gain</pVariable><Formula>G*2</Formula></IntSwissKnife>
  <SwissKnife Name="Half" NameSpace="Custom"><pVariable Name="G">Gain</pVariable><Formula>G/2</Formula></SwissKnife>
  <Integer Name="Off" NameSpace="Custom"><Value>0</Value></Integer>
  <Integer Name="On" NameSpace="Custom"><Value>1</Value></Integer>
  <Integer Name="Unavailable" NameSpace="Custom"><pIsAvailable>Off</pIsAvailable><Value>1</Value></Integer>
  <Integer Name="ReadOnly" NameSpace="Custom"><ImposedAccessMode>RO</ImposedAccessMode><Value>1</Value></Integer>
  <Integer Name="WriteOnly" NameSpace="Custom"><ImposedAccessMode>WO</ImposedAccessMode><Value>1</Value></Integer>
  <Integer Name="Locked" NameSpace="Custom"><pIsLocked>On</pIsLocked><Value>1</Value></Integer>
  <Port Name="Device" NameSpace="Custom"/>)");

class PvGenParameterArrayTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(map_.BindDocument(kXml).IsOK()); }

  template <typename Node>
  Node& Typed(const char* name) {
    auto* node = dynamic_cast<Node*>(map_.Get(PvString(name)));
    EXPECT_NE(node, nullptr) << name;
    return *node;
  }

  PvGenParameterArray map_;
};

TEST_F(PvGenParameterArrayTest, NodesComeInDocumentOrderWithTheKindTheirTagGives) {
  const std::vector<std::pair<std::string, PvGenType>> expected = {
      {"Root", PvGenTypeUndefined},     {"Mode", PvGenTypeEnum},           {"ModeValue", PvGenTypeInteger},
      {"Gain", PvGenTypeInteger},       {"Exposure", PvGenTypeFloat},      {"Flag", PvGenTypeBoolean},
      {"FlagValue", PvGenTypeInteger},  {"Label", PvGenTypeString},        {"Start", PvGenTypeCommand},
      {"StartValue", PvGenTypeInteger}, {"Fire", PvGenTypeCommand},        {"FireValue", PvGenTypeInteger},
      {"Twice", PvGenTypeInteger},      {"Half", PvGenTypeFloat},          {"Off", PvGenTypeInteger},
      {"On", PvGenTypeInteger},         {"Unavailable", PvGenTypeInteger}, {"ReadOnly", PvGenTypeInteger},
      {"WriteOnly", PvGenTypeInteger},  {"Locked", PvGenTypeInteger},      {"Device", PvGenTypeUndefined},
  };
  ASSERT_EQ(map_.GetCount(), expected.size());
  for (uint32_t i = 0; i < map_.GetCount(); ++i) {
    PvGenType type = PvGenTypeInteger;
    ASSERT_TRUE(map_.Get(i)->GetType(type).IsOK());
    EXPECT_EQ(map_.Get(i)->GetName().GetAscii(), expected[i].first);
    EXPECT_EQ(type, expected[i].second) << expected[i].first;
  }
  EXPECT_EQ(map_.Get(PvString("Zero")), nullptr) << "enumeration entries are not nodes of the map";
}

TEST_F(PvGenParameterArrayTest, AccessIsCheckedWithTheTextsTheCoreReads) {
  struct Case {
    const char* node;
    bool write;
    const char* description;
  };
  const Case cases[] = {
      {"Unavailable", false, "Node is not available"}, {"Unavailable", true, "Node is not available"},
      {"ReadOnly", true, "Node is not writable"},      {"Locked", true, "Node is not writable"},
      {"WriteOnly", false, "Node is not readable"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.node);
    auto& node = Typed<PvGenInteger>(c.node);
    int64_t value = 0;
    const PvResult result = c.write ? node.SetValue(7) : node.GetValue(value);
    EXPECT_STREQ(result.GetDescription().GetAscii(), c.description);
    EXPECT_EQ(result.GetCode(), PvResult::Code::GENERIC_ERROR);
  }
  EXPECT_FALSE(Typed<PvGenInteger>("Unavailable").IsAvailable());
  EXPECT_TRUE(Typed<PvGenInteger>("ReadOnly").IsReadable());
  EXPECT_FALSE(Typed<PvGenInteger>("ReadOnly").IsWritable());
  EXPECT_FALSE(Typed<PvGenInteger>("Locked").IsWritable());
  EXPECT_TRUE(Typed<PvGenInteger>("WriteOnly").IsWritable());
  EXPECT_FALSE(Typed<PvGenInteger>("WriteOnly").IsReadable());
}

TEST_F(PvGenParameterArrayTest, EnumerationEntriesKeepDocumentOrderAndUnavailableOnesCannotBeSelected) {
  auto& mode = Typed<PvGenEnum>("Mode");
  int64_t count = 0;
  ASSERT_TRUE(mode.GetEntriesCount(count).IsOK());
  ASSERT_EQ(count, 3);
  const char* names[] = {"Zero", "Hidden", "Two"};
  for (int64_t i = 0; i < count; ++i) {
    const PvGenEnumEntry* entry = nullptr;
    ASSERT_TRUE(mode.GetEntryByIndex(i, entry).IsOK());
    PvString name;
    ASSERT_TRUE(entry->GetName(name).IsOK());
    EXPECT_STREQ(name.GetAscii(), names[i]);
    EXPECT_EQ(entry->IsAvailable(), i != 1);
  }
  const PvGenEnumEntry* beyond = nullptr;
  EXPECT_TRUE(mode.GetEntryByIndex(3, beyond).IsFailure());

  EXPECT_TRUE(mode.SetValue(PvString("Two")).IsOK());
  PvString current;
  ASSERT_TRUE(mode.GetValue(current).IsOK());
  EXPECT_STREQ(current.GetAscii(), "Two");
  EXPECT_TRUE(mode.SetValue(PvString("Hidden")).IsFailure());
  EXPECT_TRUE(mode.SetValue(int64_t{1}).IsFailure());
  EXPECT_TRUE(mode.SetValue(int64_t{-1}).IsFailure());
  EXPECT_TRUE(mode.SetValue(PvString("Three")).IsFailure());
  ASSERT_TRUE(mode.GetValue(current).IsOK());
  EXPECT_STREQ(current.GetAscii(), "Two");
}

TEST_F(PvGenParameterArrayTest, CommandIsDoneOnceItsRegisterNoLongerHoldsTheCommandValue) {
  auto& start = Typed<PvGenCommand>("Start");
  bool done = false;
  ASSERT_TRUE(start.IsDone(done).IsOK());
  EXPECT_TRUE(done);
  ASSERT_TRUE(start.Execute().IsOK());
  ASSERT_TRUE(start.IsDone(done).IsOK());
  EXPECT_FALSE(done);
  // The camera clears the register when it has finished.
  ASSERT_TRUE(Typed<PvGenInteger>("StartValue").SetValue(0).IsOK());
  ASSERT_TRUE(start.IsDone(done).IsOK());
  EXPECT_TRUE(done);

  auto& fire = Typed<PvGenCommand>("Fire");
  ASSERT_TRUE(fire.Execute().IsOK());
  done = false;
  ASSERT_TRUE(fire.IsDone(done).IsOK());
  EXPECT_TRUE(done) << "a register that cannot be read back counts as done at once";
}

TEST_F(PvGenParameterArrayTest, NodesKnowTheirCategoryVisibilitySelectorsAndStreamability) {
  PvString category;
  ASSERT_TRUE(map_.Get(PvString("Gain"))->GetCategory(category).IsOK());
  EXPECT_STREQ(category.GetAscii(), "Root");
  const std::pair<const char*, PvGenVisibility> visibilities[] = {{"Gain", PvGenVisibilityBeginner},
                                                                  {"Mode", PvGenVisibilityExpert},
                                                                  {"Exposure", PvGenVisibilityGuru},
                                                                  {"ModeValue", PvGenVisibilityInvisible}};
  for (const auto& [name, expected] : visibilities) {
    PvGenVisibility visibility = PvGenVisibilityUndefined;
    ASSERT_TRUE(map_.Get(PvString(name))->GetVisibility(visibility).IsOK());
    EXPECT_EQ(visibility, expected) << name;
  }
  bool selector = false;
  ASSERT_TRUE(map_.Get(PvString("Mode"))->IsSelector(selector).IsOK());
  EXPECT_TRUE(selector);
  PvGenParameterList list;
  ASSERT_TRUE(map_.Get(PvString("Mode"))->GetSelectedParameters(list).IsOK());
  ASSERT_EQ(list.GetSize(), 1u);
  EXPECT_STREQ(list.GetFirst()->GetName().GetAscii(), "Gain");
  ASSERT_TRUE(map_.Get(PvString("Gain"))->GetSelectingParameters(list).IsOK());
  ASSERT_EQ(list.GetSize(), 1u);
  EXPECT_STREQ(list.GetFirst()->GetName().GetAscii(), "Mode");
  EXPECT_TRUE(map_.Get(PvString("Gain"))->IsStreamable());
  EXPECT_FALSE(map_.Get(PvString("Exposure"))->IsStreamable());
}

TEST_F(PvGenParameterArrayTest, NodesOfAReleasedDocumentFailAsNotConnected) {
  PvGenParameter* gain = map_.Get(PvString("Gain"));
  map_.Unbind();
  EXPECT_EQ(map_.GetCount(), 0u);
  PvString text;
  EXPECT_EQ(gain->ToString(text).GetCode(), PvResult::Code::NOT_CONNECTED);
  EXPECT_FALSE(gain->IsAvailable());
}

}  // namespace
