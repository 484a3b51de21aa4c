// Features and parameters over mocked nodes: the factory's choice of class, failures below as
// feature exceptions, lookups by name.
#include "core/feature.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <typeinfo>

#include "core/exception_core.h"
#include "core/exception_feature_impl.h"
#include "core/feature_boolean.h"
#include "core/feature_command.h"
#include "core/feature_enum.h"
#include "core/feature_float.h"
#include "core/feature_integer.h"
#include "core/feature_register.h"
#include "core/feature_string.h"
#include "core/parameters.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "tests/support/adaptor_mocks.h"
#include "tests/support/log_capture.h"
#include "tests/support/thrown_adaptor_exception.h"

namespace {

using quarx::FeatureException;
using quarx::FeatureTypeEnum;
using quarx::ReasonOfFailure;
using quarx::sdkadaptor::ExceptionSdkAdaptor;
using namespace quarx::test;
using ::testing::_;
using ::testing::NiceMock;
using ::testing::Pair;
using ::testing::Return;
using ::testing::Throw;
using ::testing::TypedEq;

const ExceptionSdkAdaptor kGeneric(0x4000, "GenericError", "Node is not readable");

template <class Node, class Expected>
void ExpectCreatedAs(FeatureTypeEnum type) {
  const std::shared_ptr<quarx::core::Feature> feature = quarx::core::Feature::Create(NodeOfType<Node>(type, "Plain"));
  ASSERT_NE(feature, nullptr);
  const quarx::core::Feature& made = *feature;
  EXPECT_EQ(typeid(made), typeid(Expected));
}

TEST(Feature, CreatePicksTheClassByTheNodesTypeOrGivesNull) {
  ExpectCreatedAs<MockGenBoolean, quarx::core::FeatureBoolean>(FeatureTypeEnum::Boolean);
  ExpectCreatedAs<MockGenCommand, quarx::core::FeatureCommand>(FeatureTypeEnum::Command);
  ExpectCreatedAs<MockGenEnum, quarx::core::FeatureEnum>(FeatureTypeEnum::Enum);
  ExpectCreatedAs<MockGenFloat, quarx::core::FeatureFloat>(FeatureTypeEnum::Float);
  ExpectCreatedAs<MockGenInteger, quarx::core::FeatureInteger>(FeatureTypeEnum::Integer);
  ExpectCreatedAs<MockGenString, quarx::core::FeatureString>(FeatureTypeEnum::String);
  ExpectCreatedAs<MockGenRegister, quarx::core::FeatureRegister>(FeatureTypeEnum::Register);
  EXPECT_EQ(quarx::core::Feature::Create(NodeOfType<MockGenParameter>(FeatureTypeEnum::Undefined, "Plain")), nullptr);
  EXPECT_EQ(quarx::core::Feature::Create(nullptr), nullptr);
  // A plain node that claims to be an integer cannot be read as one.
  auto node = NodeOfType<MockGenParameter>(FeatureTypeEnum::Integer, "Gain");
  EXPECT_EQ(quarx::core::Feature::Create(node), nullptr);
  ON_CALL(*node, GetType()).WillByDefault(Throw(kGeneric));
  EXPECT_EQ(quarx::core::Feature::Create(node), nullptr);
}

TEST(Feature, FailuresBelowAreFeatureExceptionsEvenWhenTheNameCannotBeRead) {
  auto node = NodeOfType<MockGenInteger>(FeatureTypeEnum::Integer, "ExposureTime");
  EXPECT_CALL(*node, FromString("12x"))
      .WillOnce(Throw(ExceptionSdkAdaptor(0x4000, "GenericError", "Node is not writable")))
      .WillOnce(Throw(std::runtime_error("out of range")));
  ON_CALL(*node, ToString()).WillByDefault(Throw(kGeneric));
  auto feature = quarx::core::Feature::Create(node);
  EXPECT_EQ(Failure<FeatureException>([&] { feature->FromString("12x"); }), "9/3002 Node is not writable");
  EXPECT_EQ(Failure<FeatureException>([&] { feature->FromString("12x"); }), "9/3000 ExposureTime : out of range");
  EXPECT_EQ(Failure<FeatureException>([&] { feature->GetValueAsString(); }), "9/3001 Node is not readable");
  ON_CALL(*node, GetName()).WillByDefault(Throw(std::runtime_error("no name")));
  ON_CALL(*node, GetCategory()).WillByDefault(Throw(std::runtime_error("no category")));
  EXPECT_EQ(Failure<FeatureException>([&] { quarx::core::FeatureInteger(node).GetCategory(); }), "9/3000  : no category");

  quarx::core::FeatureEnum selector(NodeOfType<MockGenEnum>(FeatureTypeEnum::Enum, "SourceSelector"));
  EXPECT_TRUE(selector.GetEntries(false).empty());
}

TEST(FeatureExceptionCreate, ClassifiesByAccessTextInOrderAndLogsOnlyWhatItCannotClassify) {
  const std::pair<const char*, int> cases[] = {
      {"Node is not writable", 3002}, {"x Node is not writable; Node is not readable", 3002},
      {"Node is not readable", 3001}, {"Node is not available", 3001},
      {"node is not writable", 900},  {"", 900},
  };
  for (const auto& [description, detail] : cases) {
    LogCapture log;
    auto e = quarx::core::FeatureExceptionImpl::Create("SetValue", 9, "Gain", 0x4000, description);
    EXPECT_EQ(e.GetErrCodeDetail(), detail) << description;
    EXPECT_EQ(e.what(), std::string(description));
    ASSERT_EQ(log.Lines().size(), detail == 900 ? 2u : 1u);
    if (detail == 900) {
      EXPECT_EQ(log.Lines()[0], std::string("[error] <SetValue> Gain is ") + description);
    }
  }
}

TEST(Parameters, SetReportsEachValueNotSetAndLookupsAbsenceByNullAndAnotherTypeAsDetailOne) {
  auto map = std::make_unique<NiceMock<MockGenParameters>>();
  auto readOnly = NodeOfType<MockGenString>(FeatureTypeEnum::String, "DeviceModelName");
  auto refusing = NodeOfType<MockGenInteger>(FeatureTypeEnum::Integer, "Width");
  ON_CALL(*refusing, IsWritable()).WillByDefault(Return(true));
  ON_CALL(*refusing, FromString(_)).WillByDefault(Throw(kGeneric));
  auto accepting = NodeOfType<MockGenString>(FeatureTypeEnum::String, "DeviceUserID");
  ON_CALL(*accepting, IsWritable()).WillByDefault(Return(true));
  EXPECT_CALL(*accepting, FromString("line-3"));
  ON_CALL(*map, Get(std::string("DeviceModelName"))).WillByDefault(Return(readOnly));
  ON_CALL(*map, Get(std::string("Width"))).WillByDefault(Return(refusing));
  ON_CALL(*map, Get(std::string("DeviceUserID"))).WillByDefault(Return(accepting));
  ON_CALL(*map, GetCommand("Width")).WillByDefault(Throw(ExceptionSdkAdaptor(0x1000003, "Width is not command.")));
  ON_CALL(*map, Get(std::string("Broken"))).WillByDefault(Throw(std::runtime_error("node map gone")));
  ON_CALL(*map, GetCount()).WillByDefault(Return(2));
  ON_CALL(*map, Get(TypedEq<unsigned int>(0)))
      .WillByDefault(Return(NodeOfType<MockGenParameter>(FeatureTypeEnum::Undefined, "Root")));
  ON_CALL(*map, Get(TypedEq<unsigned int>(1))).WillByDefault(Return(accepting));
  quarx::core::Parameters parameters(std::move(map));
  EXPECT_THAT(parameters.SetParameters(
                  {{"Missing", "1"}, {"DeviceModelName", "x"}, {"Width", "wide"}, {"DeviceUserID", "line-3"}}),
              ::testing::UnorderedElementsAre(Pair("Missing", ReasonOfFailure::NotFound),
                                              Pair("DeviceModelName", ReasonOfFailure::NotWritable),
                                              Pair("Width", ReasonOfFailure::SetValueFailed)));
  EXPECT_EQ(Failure<FeatureException>([&] { parameters.GetCommand("Width"); }), "9/1 Width is not command.");
  EXPECT_EQ(parameters.GetCommand("DeviceReset"), nullptr);
  EXPECT_EQ(parameters.GetFeature("Broken"), nullptr);
  // A node without a feature class keeps its place as an empty entry.
  const auto all = parameters.GetAll();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0], nullptr);
  EXPECT_NE(all[1], nullptr);
  quarx::core::Parameters none(nullptr);
  EXPECT_EQ(none.GetFeature("Width"), nullptr);
  EXPECT_TRUE(none.GetAll().empty());
}

}  // namespace
