// Node maps over a GenICam description in memory: the Aravis behaviour the stand-in works
// around or passes on as the core expects it (access texts, entry order and availability,
// and command completion).
#include "camerasdk/PvGenParameterArray.h"

#include <gtest/gtest.h>

#include <string>

#include "camerasdk/PvGenCommand.h"
#include "camerasdk/PvGenEnum.h"
#include "camerasdk/PvGenInteger.h"
#include "tests/support/genicam_document.h"

namespace {

const std::string kXml = quarx::test::GenicamDocument(R"(
  <Enumeration Name="Mode" NameSpace="Custom">
    <EnumEntry Name="Zero"><Value>0</Value></EnumEntry>
    <EnumEntry Name="Hidden"><pIsAvailable>Off</pIsAvailable><Value>1</Value></EnumEntry>
    <EnumEntry Name="Two"><Value>2</Value></EnumEntry>
    <pValue>ModeValue</pValue>
  </Enumeration>
  <Integer Name="ModeValue" NameSpace="Custom"><Value>0</Value></Integer>
  <Command Name="Start" NameSpace="Custom"><pValue>StartValue</pValue><CommandValue>1</CommandValue></Command>
  <Integer Name="StartValue" NameSpace="Custom"><Value>0</Value></Integer>
  <Command Name="Fire" NameSpace="Custom"><pValue>FireValue</pValue><CommandValue>1</CommandValue></Command>
  <Integer Name="FireValue" NameSpace="Custom"><ImposedAccessMode>WO</ImposedAccessMode><Value>0</Value></Integer>
  <Integer Name="Off" NameSpace="Custom"><Value>0</Value></Integer>
  <Integer Name="On" NameSpace="Custom"><Value>1</Value></Integer>
  <Integer Name="Unavailable" NameSpace="Custom"><pIsAvailable>Off</pIsAvailable><Value>1</Value></Integer>
  <Integer Name="ReadOnly" NameSpace="Custom"><ImposedAccessMode>RO</ImposedAccessMode><Value>1</Value></Integer>
  <Integer Name="WriteOnly" NameSpace="Custom"><ImposedAccessMode>WO</ImposedAccessMode><Value>1</Value></Integer>
  <Integer Name="Locked" NameSpace="Custom"><pIsLocked>On</pIsLocked><Value>1</Value></Integer>)");

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

TEST_F(PvGenParameterArrayTest, AccessIsCheckedWithTheTextsTheCoreReads) {
  const struct {
    const char* node;
    bool write;
    const char* description;
  } kCases[] = {
      {"Unavailable", false, "Node is not available"}, {"Unavailable", true, "Node is not available"},
      {"ReadOnly", true, "Node is not writable"},      {"Locked", true, "Node is not writable"},
      {"WriteOnly", false, "Node is not readable"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.node);
    auto& node = Typed<PvGenInteger>(c.node);
    int64_t value = 0;
    const PvResult result = c.write ? node.SetValue(7) : node.GetValue(value);
    EXPECT_STREQ(result.GetDescription().GetAscii(), c.description);
    EXPECT_EQ(result.GetCode(), PvResult::Code::GENERIC_ERROR);
    EXPECT_FALSE(c.write ? node.IsWritable() : node.IsReadable());
  }
}

// The adaptor's node-map test reads entry order and availability; the SDK refuses the entry.
TEST_F(PvGenParameterArrayTest, UnavailableEnumerationEntryCannotBeSelected) {
  auto& mode = Typed<PvGenEnum>("Mode");
  EXPECT_TRUE(mode.SetValue(PvString("Two")).IsOK());
  EXPECT_TRUE(mode.SetValue(PvString("Hidden")).IsFailure());
  EXPECT_TRUE(mode.SetValue(int64_t{1}).IsFailure());
  PvString current;
  ASSERT_TRUE(mode.GetValue(current).IsOK());
  EXPECT_STREQ(current.GetAscii(), "Two");
}

TEST_F(PvGenParameterArrayTest, CommandIsDoneOnceItsRegisterNoLongerHoldsTheCommandValue) {
  auto& start = Typed<PvGenCommand>("Start");
  bool done = false;
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

}  // namespace
