// Features and the exception family: the factory's choice of class, how adaptor and standard
// failures reach callers as feature exceptions, feature access by name over one node map, and
// the exceptions' codes, messages and log lines.
#include "core/feature.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <vector>

#include "core/exception_acqusition_impl.h"
#include "core/exception_connect_impl.h"
#include "core/exception_core.h"
#include "core/exception_core_impl.h"
#include "core/exception_feature_impl.h"
#include "core/exception_stream_impl.h"
#include "core/feature_boolean.h"
#include "core/feature_command.h"
#include "core/feature_enum.h"
#include "core/feature_enum_entry.h"
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
using quarx::ReasonOfFailure;
using quarx::FeatureTypeEnum;
using quarx::sdkadaptor::ExceptionSdkAdaptor;
using namespace quarx::test;
using ::testing::_;
using ::testing::ByMove;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::NiceMock;
using ::testing::Pair;
using ::testing::Return;
using ::testing::Throw;
using ::testing::TypedEq;

// Create over a node of the given type: the class it picks, and how often it asked for the type
// (each read is one trace line of the adaptor; the kinds are tried in a fixed order).
template <class Node, class Expected>
void ExpectCreatedAs(FeatureTypeEnum type, int typeReads) {
  auto node = NodeOfType<Node>(type, "Plain");
  int reads = 0;
  ON_CALL(*node, GetType()).WillByDefault([&reads, type] {
    ++reads;
    return type;
  });
  std::shared_ptr<quarx::core::Feature> feature = quarx::core::Feature::Create(node);
  if (typeid(Expected) == typeid(void)) {
    EXPECT_EQ(feature, nullptr);
  } else {
    ASSERT_NE(feature, nullptr);
    const quarx::core::Feature& made = *feature;
    EXPECT_EQ(typeid(made), typeid(Expected));
  }
  EXPECT_EQ(reads, typeReads) << typeid(Expected).name();
}

TEST(Feature, CreatePicksTheClassByTheNodesTypeTryingTheKindsInOrder) {
  ExpectCreatedAs<MockGenBoolean, quarx::core::FeatureBoolean>(FeatureTypeEnum::Boolean, 1);
  ExpectCreatedAs<MockGenCommand, quarx::core::FeatureCommand>(FeatureTypeEnum::Command, 2);
  ExpectCreatedAs<MockGenEnum, quarx::core::FeatureEnum>(FeatureTypeEnum::Enum, 3);
  ExpectCreatedAs<MockGenFloat, quarx::core::FeatureFloat>(FeatureTypeEnum::Float, 4);
  ExpectCreatedAs<MockGenInteger, quarx::core::FeatureInteger>(FeatureTypeEnum::Integer, 5);
  ExpectCreatedAs<MockGenString, quarx::core::FeatureString>(FeatureTypeEnum::String, 6);
  ExpectCreatedAs<MockGenRegister, quarx::core::FeatureRegister>(FeatureTypeEnum::Register, 7);
  LogCapture log;
  ExpectCreatedAs<MockGenParameter, void>(FeatureTypeEnum::Undefined, 7);
  EXPECT_THAT(log.Lines(), Contains("[error] <Create>(Plain) Invalid param type(7)"));
}

TEST(Feature, CreateGivesNullForNoNodeAnUnreadableTypeOrAClassNotMatchingItsType) {
  {
    LogCapture log;
    EXPECT_EQ(quarx::core::Feature::Create(nullptr), nullptr);
    EXPECT_THAT(log.Lines(), ::testing::IsEmpty());
  }
  auto node = NodeOfType<MockGenParameter>(FeatureTypeEnum::Integer, "Gain");
  // A plain node that claims to be an integer cannot be read as one.
  EXPECT_EQ(quarx::core::Feature::Create(node), nullptr);
  ON_CALL(*node, GetType()).WillByDefault(Throw(ExceptionSdkAdaptor(0x4000, "GenericError", "gone")));
  LogCapture log;
  EXPECT_EQ(quarx::core::Feature::Create(node), nullptr);
  EXPECT_THAT(log.Text(), HasSubstr("[error] <Create>(Gain)"));
}

// A failure of a node write, the feature exception it must become, and texts its log lines
// must hold, in order (empty: not checked).
TEST(Feature, WriteFailuresBecomeFeatureExceptionsByTheirDescription) {
  struct Row {
    std::function<void()> raise;
    std::string failure;
    std::vector<std::string> log;
  };
  const Row rows[] = {
      {[] { throw ExceptionSdkAdaptor(0x4000, "GenericError", "Node is not writable"); },
       "9/3002 Node is not writable", {}},
      {[] { throw ExceptionSdkAdaptor(0x4000, "GenericError", "Node is not readable"); },
       "9/3001 Node is not readable", {}},
      // An unclassified failure is logged under the classified name, a standard one under the bare name.
      {[] { throw ExceptionSdkAdaptor(0x4000, "GenericError", "Invalid value"); },
       "9/900 Invalid value",
       {"[error] <Feature::FromString> ExposureTime is Invalid value", "[warning] <Feature::FromString:"}},
      {[] { throw std::runtime_error("out of range"); }, "9/3000 ExposureTime : out of range", {"[warning] <FromString:"}},
  };
  for (const Row& row : rows) {
    auto node = NodeOfType<MockGenInteger>(FeatureTypeEnum::Integer, "ExposureTime");
    EXPECT_CALL(*node, FromString("12x")).WillOnce([&](const std::string&) { row.raise(); });
    auto feature = quarx::core::Feature::Create(node);
    ASSERT_NE(feature, nullptr);
    LogCapture log;
    EXPECT_EQ(Failure<FeatureException>([&] { feature->FromString("12x"); }), row.failure);
    if (!row.log.empty()) {
      ASSERT_EQ(log.Lines().size(), row.log.size());
      for (std::size_t i = 0; i < row.log.size(); ++i) {
        EXPECT_THAT(log.Lines()[i], HasSubstr(row.log[i]));
      }
    }
  }
}

TEST(Feature, ReadFailuresBelowAreFeatureExceptionsEvenWhenTheNameCannotBeRead) {
  auto node = NodeOfType<MockGenString>(FeatureTypeEnum::String, "DeviceVersion");
  ON_CALL(*node, ToString()).WillByDefault(Throw(ExceptionSdkAdaptor(0x4000, "GenericError", "Node is not readable")));
  EXPECT_EQ(Failure<FeatureException>([&] { quarx::core::Feature::Create(node)->GetValueAsString(); }),
            "9/3001 Node is not readable");
  ON_CALL(*node, GetName()).WillByDefault(Throw(std::runtime_error("no name")));
  ON_CALL(*node, GetCategory()).WillByDefault(Throw(std::runtime_error("no category")));
  EXPECT_EQ(Failure<FeatureException>([&] { quarx::core::FeatureString(node).GetCategory(); }),
            "9/3000  : no category");
  // The mock typed node has no SDK node, so its typed operations fail in the adaptor.
  quarx::core::FeatureInteger width(NodeOfType<MockGenInteger>(FeatureTypeEnum::Integer, "Width"));
  EXPECT_THROW(width.GetValue(), FeatureException);
  EXPECT_THROW(width.SetValue(5), FeatureException);
}

TEST(FeatureEnum, EntriesThatCannotBeReadAreAnEmptyListOrAFailureUnderTheEntrysName) {
  quarx::core::FeatureEnum feature(NodeOfType<MockGenEnum>(FeatureTypeEnum::Enum, "SourceSelector"));
  LogCapture log;
  EXPECT_TRUE(feature.GetEntries(false).empty());
  EXPECT_THAT(log.Lines(), Contains(HasSubstr("[error] <GetEntries> SourceSelector invalid exception(")));

  auto entry = std::make_unique<NiceMock<MockGenEnumEntry>>();
  ON_CALL(*entry, GetName()).WillByDefault(Return("Source1"));
  ON_CALL(*entry, GetValue()).WillByDefault(Throw(std::runtime_error("unreadable")));
  quarx::core::FeatureEnumEntry wrapped(std::move(entry));
  EXPECT_EQ(Failure<FeatureException>([&] { wrapped.GetValue(); }), "9/3000 Source1 : unreadable");
}

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

TEST(CoreException, AreaClassesFixTheirResultCodeAndLogOneWarningWhileTheBaseLogsNothing) {
  LogCapture log;
  EXPECT_EQ(quarx::core::ConnectExceptionImpl("GetFeatures", 77, quarx::ERR_NOT_CONNECTED,
                                       quarx::core::ConnectExceptionImpl::ERRMSG_NOT_CONNECTED)
                .GetResultCode(),
            2);
  EXPECT_EQ(quarx::core::StreamExceptionImpl("f", 1, quarx::ERR_STREAM_CREATE, "m").GetResultCode(), 3);
  EXPECT_EQ(quarx::core::AcqusitionExceptionImpl("f", 1, quarx::ERR_ACQUSITION_START, "m").GetResultCode(), 1);
  EXPECT_EQ(quarx::core::FeatureExceptionImpl("f", 1, quarx::ERR_FEATURE, "").GetResultCode(), 9);
  EXPECT_EQ(quarx::core::CoreExceptionImpl("Create", quarx::RESULT_DEVICE, quarx::ERR_INVALID_DEVICE_TYPE, "m").GetResultCode(), 7);
  EXPECT_THAT(
      log.Lines(),
      ElementsAre("[warning] <GetFeatures:77>throw ConnectException err_code_detail(4) msg(Not connected to camera.)",
                  "[warning] <f:1>throw StreamException err_code_detail(6000) msg(m)",
                  "[warning] <f:1>throw AcqusitionException err_code_detail(1002) msg(m)",
                  "[warning] <f:1>throw FeatureException err_code_detail(3000) msg()"));
  EXPECT_EQ(quarx::core::SdkAdaptorMessage(ExceptionSdkAdaptor(0x4000, "GenericError", "boom")),
            "GenericError, boom");
}

TEST(FeatureExceptionCreate, ClassifiesByAccessTextInOrder) {
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
    // Only what is left unclassified gets an error line before the warning.
    ASSERT_EQ(log.Lines().size(), detail == 900 ? 2u : 1u);
    if (detail == 900) {
      EXPECT_EQ(log.Lines()[0], std::string("[error] <SetValue> Gain is ") + description);
    }
  }
}

}  // namespace
