// The chunk parser over a node map with real nodes (built from GenICam text): which features
// count as chunk features, and how selected ones expand to "Name[Entry]" keys.
#include "core/chunk_parser.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "camerasdk/PvBuffer.h"
#include "core/exception_core.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "tests/support/adaptor_mocks.h"
#include "tests/support/genicam_document.h"
#include "tests/support/thrown_adaptor_exception.h"
#include "tests/support/xml_node_map.h"

namespace {

using namespace quarx;
using quarx::test::Failure;
using quarx::test::GenicamDocument;
using quarx::test::XmlNodeMap;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::NiceMock;
using ::testing::Pair;

constexpr uint32_t kChunkBytes = 64;

// Chunk features of every kind the parser tells apart; ChunkGain, selected by GainSelector,
// reads ten times the selected entry's value plus three.
std::string ChunkCamera(bool modeActive = true) {
  return GenicamDocument(R"(
  <Category Name="Root" NameSpace="Standard"><pFeature>ChunkDataControl</pFeature><pFeature>GainSelector</pFeature>
    <pFeature>Width</pFeature></Category>
  <Category Name="ChunkDataControl" NameSpace="Standard"><pFeature>ChunkModeActive</pFeature>
    <pFeature>ChunkSelector</pFeature><pFeature>ChunkEnable</pFeature><pFeature>ChunkWidth</pFeature>
    <pFeature>ChunkGain</pFeature><pFeature>ChunkHidden</pFeature><pFeature>ChunkWriteOnly</pFeature></Category>
  <Boolean Name="ChunkModeActive" NameSpace="Standard"><pValue>ModeValue</pValue></Boolean>
  <Integer Name="ModeValue" NameSpace="Custom"><Value>)" + std::string(modeActive ? "1" : "0") + R"(</Value></Integer>
  <Enumeration Name="ChunkSelector" NameSpace="Standard"><EnumEntry Name="Width" NameSpace="Standard"><Value>0</Value>
    </EnumEntry><pValue>SelectorValue</pValue></Enumeration>
  <Integer Name="SelectorValue" NameSpace="Custom"><Value>0</Value></Integer>
  <Boolean Name="ChunkEnable" NameSpace="Standard"><pValue>ModeValue</pValue></Boolean>
  <Integer Name="ChunkWidth" NameSpace="Standard"><Value>640</Value></Integer>
  <IntSwissKnife Name="ChunkGain" NameSpace="Standard"><pVariable Name="S">GainSelectorValue</pVariable>
    <Formula>S*10+3</Formula></IntSwissKnife>
  <Enumeration Name="GainSelector" NameSpace="Standard"><pSelected>ChunkGain</pSelected>
    <pValue>GainSelectorValue</pValue><EnumEntry Name="Red" NameSpace="Standard"><Value>1</Value></EnumEntry>
    <EnumEntry Name="Blue" NameSpace="Standard"><Value>2</Value></EnumEntry></Enumeration>
  <Integer Name="GainSelectorValue" NameSpace="Custom"><Value>1</Value></Integer>
  <Integer Name="ChunkHidden" NameSpace="Standard"><Visibility>Invisible</Visibility><Value>5</Value></Integer>
  <Integer Name="ChunkWriteOnly" NameSpace="Standard"><ImposedAccessMode>WO</ImposedAccessMode><Value>9</Value></Integer>
  <Integer Name="Width" NameSpace="Standard"><Value>640</Value></Integer>
  <Integer Name="ChunkOrphan" NameSpace="Standard"><Value>1</Value></Integer>
  <Integer Name="ChunkOrphanSelector" NameSpace="Standard"><pSelected>ChunkOrphan</pSelected><Value>0</Value></Integer>
)");
}

class ChunkParserTest : public ::testing::Test {
 protected:
  void Use(const std::string& xml) {
    map_ = std::make_unique<XmlNodeMap>(xml);
    ON_CALL(device_, GetParameters()).WillByDefault([this] { return map_->NewParameters(); });
  }
  // Chunk data must lie in a buffer of the stand-in's, as the stream hands them out.
  unsigned char* Data() {
    if (chunks_.GetDataPointer() == nullptr) {
      EXPECT_TRUE(chunks_.Alloc(kChunkBytes).IsOK());
    }
    return chunks_.GetDataPointer();
  }

  NiceMock<test::MockDeviceGEV> device_;
  std::unique_ptr<XmlNodeMap> map_;
  PvBuffer chunks_;
};

// Unasked, the visible readable features of the chunk category less the control ones are read.
TEST_F(ChunkParserTest, ReadsChunkFeaturesExpandingSelectedOnesPerEntry) {
  Use(ChunkCamera());
  core::ChunkParser parser(&device_);
  EXPECT_THAT(parser.GetChunkValues(Data(), kChunkBytes, {}),
              ElementsAre(Pair("ChunkGain[Blue]", "23"), Pair("ChunkGain[Red]", "13"), Pair("ChunkWidth", "640")));
  const std::vector<std::string> names = {"ChunkModeActive", "ChunkEnable", "ChunkSelector", "ChunkHidden",
                                          "ChunkWriteOnly",  "Width",       "Width"};
  EXPECT_THAT(parser.GetChunkValues(Data(), kChunkBytes, names), ElementsAre(Pair("Width", "640")));
  EXPECT_EQ(Failure<FeatureException>([&] { parser.GetChunkValues(Data(), kChunkBytes, {"NoSuchChunk"}); }),
            "9/3001 NoSuchChunk : Node is not available");
  // A selector that is no enumeration is refused by the node map's typed lookup.
  EXPECT_THROW(parser.GetChunkValues(Data(), kChunkBytes, {"ChunkOrphan"}), sdkadaptor::ExceptionSdkAdaptor);
  // Cut off from its device, the parser refuses instead of reaching it.
  parser.DetachDevice();
  EXPECT_CALL(device_, GetParameters()).Times(0);
  EXPECT_EQ(Failure<ConnectException>([&] { parser.GetChunkValues(Data(), kChunkBytes, {}); }),
            "2/4 Not connected to camera.");
}

TEST_F(ChunkParserTest, ChunkModeOffOrAbsentOrAFailingNodeMapGivesNoValues) {
  Use(ChunkCamera(false));
  EXPECT_THAT(core::ChunkParser(&device_).GetChunkValues(Data(), kChunkBytes, {"ChunkWidth"}), IsEmpty());
  Use(GenicamDocument(R"(<Category Name="Root" NameSpace="Standard"><pFeature>ChunkWidth</pFeature></Category>
    <Integer Name="ChunkWidth" NameSpace="Standard"><Value>640</Value></Integer>)"));
  EXPECT_THAT(core::ChunkParser(&device_).GetChunkValues(Data(), kChunkBytes, {"ChunkWidth"}), IsEmpty());
  Use(ChunkCamera());
  EXPECT_CALL(device_, GetParameters())
      .WillOnce([]() -> std::unique_ptr<sdkadaptor::InterfaceGenParameters> {
        throw sdkadaptor::ExceptionSdkAdaptor(0x4000, "GenericError", "link down");
      })
      .WillRepeatedly([this] { return map_->NewParameters(); });
  EXPECT_THAT(core::ChunkParser(&device_).GetChunkValues(Data(), kChunkBytes, {}), IsEmpty());
}

}  // namespace
