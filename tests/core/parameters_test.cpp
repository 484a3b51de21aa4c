// Feature access by name over one node map: lookups, typed lookups and setting many values.
#include "core/parameters.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>

#include "core/exception_core.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "tests/support/adaptor_mocks.h"
#include "tests/support/log_capture.h"

namespace {

using quarx::FeatureTypeEnum;
using quarx::ReasonOfFailure;
using quarx::sdkadaptor::ExceptionSdkAdaptor;
using quarx::sdkadaptor::InterfaceGenParameter;
using namespace quarx::test;
using ::testing::_;
using ::testing::ByMove;
using ::testing::NiceMock;
using ::testing::Return;
using ::testing::Throw;
using ::testing::UnorderedElementsAre;
using ::testing::Pair;

TEST(Parameters, SetParametersReportsEachValueThatWasNotSet) {
  auto map = std::make_unique<NiceMock<MockGenParameters>>();
  auto readOnly = NodeOfType<MockGenString>(FeatureTypeEnum::String, "DeviceModelName");
  ON_CALL(*readOnly, IsWritable()).WillByDefault(Return(false));
  auto refusing = NodeOfType<MockGenInteger>(FeatureTypeEnum::Integer, "Width");
  ON_CALL(*refusing, IsWritable()).WillByDefault(Return(true));
  ON_CALL(*refusing, FromString(_))
      .WillByDefault(Throw(ExceptionSdkAdaptor(0x4000, "GenericError", "Invalid value")));
  auto accepting = NodeOfType<MockGenString>(FeatureTypeEnum::String, "DeviceUserID");
  ON_CALL(*accepting, IsWritable()).WillByDefault(Return(true));
  EXPECT_CALL(*accepting, FromString("line-3"));
  ON_CALL(*map, Get(std::string("Missing"))).WillByDefault(Return(nullptr));
  ON_CALL(*map, Get(std::string("DeviceModelName"))).WillByDefault(Return(readOnly));
  ON_CALL(*map, Get(std::string("Width"))).WillByDefault(Return(refusing));
  ON_CALL(*map, Get(std::string("DeviceUserID"))).WillByDefault(Return(accepting));
  quarx::core::Parameters parameters(std::move(map));

  auto failures = parameters.SetParameters(
      {{"Missing", "1"}, {"DeviceModelName", "x"}, {"Width", "wide"}, {"DeviceUserID", "line-3"}});

  EXPECT_THAT(failures, UnorderedElementsAre(Pair("Missing", ReasonOfFailure::NotFound),
                                             Pair("DeviceModelName", ReasonOfFailure::NotWritable),
                                             Pair("Width", ReasonOfFailure::SetValueFailed)));
}


TEST(Parameters, TypedLookupOfANodeOfAnotherTypeIsDetailOneWithTheAdaptorsText) {
  auto map = std::make_unique<NiceMock<MockGenParameters>>();
  EXPECT_CALL(*map, GetCommand("Width"))
      .WillOnce(Throw(ExceptionSdkAdaptor(0x1000003, "Width is not command.")));
  quarx::core::Parameters parameters(std::move(map));
  try {
    parameters.GetCommand("Width");
    FAIL();
  } catch (const quarx::FeatureException& e) {
    EXPECT_EQ(e.GetErrCodeDetail(), 1);
    EXPECT_STREQ(e.what(), "Width is not command.");
  }
}

TEST(Parameters, TypedLookupOfAnAbsentNameIsNull) {
  auto map = std::make_unique<NiceMock<MockGenParameters>>();
  EXPECT_CALL(*map, GetCommand("DeviceReset")).WillOnce(Return(ByMove(nullptr)));
  quarx::core::Parameters parameters(std::move(map));
  EXPECT_EQ(parameters.GetCommand("DeviceReset"), nullptr);
}


TEST(Parameters, GetAllKeepsAnEmptyEntryForANodeWithoutAFeatureClass) {
  auto map = std::make_unique<NiceMock<MockGenParameters>>();
  ON_CALL(*map, GetCount()).WillByDefault(Return(3));
  ON_CALL(*map, Get(::testing::TypedEq<unsigned int>(0))).WillByDefault(Return(NodeOfType<MockGenInteger>(FeatureTypeEnum::Integer, "Width")));
  ON_CALL(*map, Get(::testing::TypedEq<unsigned int>(1))).WillByDefault(Return(NodeOfType<MockGenParameter>(FeatureTypeEnum::Undefined, "Root")));
  ON_CALL(*map, Get(::testing::TypedEq<unsigned int>(2))).WillByDefault(Return(NodeOfType<MockGenString>(FeatureTypeEnum::String, "DeviceUserID")));
  quarx::core::Parameters parameters(std::move(map));
  auto all = parameters.GetAll();
  ASSERT_EQ(all.size(), 3u);
  EXPECT_NE(all[0], nullptr);
  EXPECT_EQ(all[1], nullptr);
  EXPECT_NE(all[2], nullptr);
}

TEST(Parameters, GetFeatureNeverThrowsAndReportsAbsenceByNull) {
  auto map = std::make_unique<NiceMock<MockGenParameters>>();
  ON_CALL(*map, Get(std::string("Broken"))).WillByDefault(Throw(std::runtime_error("node map gone")));
  quarx::core::Parameters parameters(std::move(map));
  LogCapture log;
  EXPECT_EQ(parameters.GetFeature("Broken"), nullptr);
  EXPECT_THAT(log.Lines(), ::testing::Contains("[error] <GetFeature> (Broken) node map gone"));
}

TEST(Parameters, WithoutANodeMapEveryLookupIsAbsent) {
  quarx::core::Parameters parameters(nullptr);
  EXPECT_EQ(parameters.GetFeature("Width"), nullptr);
  EXPECT_TRUE(parameters.GetAll().empty());
  EXPECT_EQ(parameters.GetInteger("Width"), nullptr);
}

}  // namespace
