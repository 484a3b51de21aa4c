// Feature access by name over one node map: lookups, typed lookups and setting many values.
#include "core/parameters.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "core/exception_core.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "tests/support/adaptor_mocks.h"
#include "tests/support/log_capture.h"
#include "tests/support/thrown_adaptor_exception.h"

namespace {

using quarx::FeatureTypeEnum;
using quarx::ReasonOfFailure;
using quarx::sdkadaptor::ExceptionSdkAdaptor;
using namespace quarx::test;
using ::testing::_;
using ::testing::ByMove;
using ::testing::NiceMock;
using ::testing::Pair;
using ::testing::Return;
using ::testing::Throw;
using ::testing::TypedEq;

TEST(Parameters, SetParametersReportsEachValueThatWasNotSet) {
  auto map = std::make_unique<NiceMock<MockGenParameters>>();
  auto readOnly = NodeOfType<MockGenString>(FeatureTypeEnum::String, "DeviceModelName");
  auto refusing = NodeOfType<MockGenInteger>(FeatureTypeEnum::Integer, "Width");
  ON_CALL(*refusing, IsWritable()).WillByDefault(Return(true));
  ON_CALL(*refusing, FromString(_)).WillByDefault(Throw(ExceptionSdkAdaptor(0x4000, "GenericError", "Invalid value")));
  auto accepting = NodeOfType<MockGenString>(FeatureTypeEnum::String, "DeviceUserID");
  ON_CALL(*accepting, IsWritable()).WillByDefault(Return(true));
  EXPECT_CALL(*accepting, FromString("line-3"));
  ON_CALL(*map, Get(std::string("DeviceModelName"))).WillByDefault(Return(readOnly));
  ON_CALL(*map, Get(std::string("Width"))).WillByDefault(Return(refusing));
  ON_CALL(*map, Get(std::string("DeviceUserID"))).WillByDefault(Return(accepting));
  quarx::core::Parameters parameters(std::move(map));
  EXPECT_THAT(parameters.SetParameters(
                  {{"Missing", "1"}, {"DeviceModelName", "x"}, {"Width", "wide"}, {"DeviceUserID", "line-3"}}),
              ::testing::UnorderedElementsAre(Pair("Missing", ReasonOfFailure::NotFound),
                                              Pair("DeviceModelName", ReasonOfFailure::NotWritable),
                                              Pair("Width", ReasonOfFailure::SetValueFailed)));
}

TEST(Parameters, TypedLookupIsNullForAnAbsentNameAndDetailOneWithTheAdaptorsTextForAnotherType) {
  auto map = std::make_unique<NiceMock<MockGenParameters>>();
  EXPECT_CALL(*map, GetCommand("Width")).WillOnce(Throw(ExceptionSdkAdaptor(0x1000003, "Width is not command.")));
  EXPECT_CALL(*map, GetCommand("DeviceReset")).WillOnce(Return(ByMove(nullptr)));
  quarx::core::Parameters parameters(std::move(map));
  EXPECT_EQ(Failure<quarx::FeatureException>([&] { parameters.GetCommand("Width"); }), "9/1 Width is not command.");
  EXPECT_EQ(parameters.GetCommand("DeviceReset"), nullptr);
}

TEST(Parameters, GetAllKeepsAnEmptyEntryForANodeWithoutAFeatureClass) {
  auto map = std::make_unique<NiceMock<MockGenParameters>>();
  ON_CALL(*map, GetCount()).WillByDefault(Return(2));
  ON_CALL(*map, Get(TypedEq<unsigned int>(0)))
      .WillByDefault(Return(NodeOfType<MockGenParameter>(FeatureTypeEnum::Undefined, "Root")));
  ON_CALL(*map, Get(TypedEq<unsigned int>(1)))
      .WillByDefault(Return(NodeOfType<MockGenString>(FeatureTypeEnum::String, "DeviceUserID")));
  auto all = quarx::core::Parameters(std::move(map)).GetAll();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0], nullptr);
  EXPECT_NE(all[1], nullptr);
}

TEST(Parameters, LookupsNeverThrowAndReportAbsenceByNull) {
  auto map = std::make_unique<NiceMock<MockGenParameters>>();
  ON_CALL(*map, Get(std::string("Broken"))).WillByDefault(Throw(std::runtime_error("node map gone")));
  quarx::core::Parameters parameters(std::move(map));
  LogCapture log;
  EXPECT_EQ(parameters.GetFeature("Broken"), nullptr);
  EXPECT_THAT(log.Lines(), ::testing::Contains("[error] <GetFeature> (Broken) node map gone"));

  quarx::core::Parameters none(nullptr);
  EXPECT_EQ(none.GetFeature("Width"), nullptr);
  EXPECT_TRUE(none.GetAll().empty());
  EXPECT_EQ(none.GetInteger("Width"), nullptr);
}

}  // namespace
