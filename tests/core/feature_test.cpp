// Features: the factory's choice of class, and how adaptor and standard failures reach
// callers as feature exceptions.
#include "core/feature.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <vector>

#include "core/exception_core.h"
#include "core/feature_boolean.h"
#include "core/feature_command.h"
#include "core/feature_enum.h"
#include "core/feature_enum_entry.h"
#include "core/feature_float.h"
#include "core/feature_integer.h"
#include "core/feature_register.h"
#include "core/feature_string.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "tests/support/adaptor_mocks.h"
#include "tests/support/log_capture.h"

namespace {

using quarx::FeatureTypeEnum;
using quarx::sdkadaptor::ExceptionSdkAdaptor;
using namespace quarx::test;
using ::testing::_;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::NiceMock;
using ::testing::Return;
using ::testing::Throw;

// Create over a node of the given type: the class it picks, and how often it asked for the type
// (each read is one trace line of the adaptor; the kinds are tried in a fixed order).
template <class Node, class Expected>
void ExpectCreatedAs(FeatureTypeEnum type, int typeReads) {
  auto node = NodeOfType<Node>(type, "Gain");
  int reads = 0;
  ON_CALL(*node, GetType()).WillByDefault([&reads, type] {
    ++reads;
    return type;
  });
  std::shared_ptr<quarx::core::Feature> feature = quarx::core::Feature::Create(node);
  ASSERT_NE(feature, nullptr);
  const quarx::core::Feature& made = *feature;
  EXPECT_EQ(typeid(made), typeid(Expected));
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
}

TEST(Feature, CreateGivesNullForANodeWithoutAFeatureClassAfterTryingEveryKind) {
  auto node = NodeOfType<MockGenParameter>(FeatureTypeEnum::Undefined, "Plain");
  int reads = 0;
  ON_CALL(*node, GetType()).WillByDefault([&reads] {
    ++reads;
    return FeatureTypeEnum::Undefined;
  });
  LogCapture log;
  EXPECT_EQ(quarx::core::Feature::Create(node), nullptr);
  EXPECT_EQ(reads, 7);
  EXPECT_THAT(log.Lines(), Contains("[error] <Create>(Plain) Invalid param type(7)"));
}

TEST(Feature, CreateGivesNullForNoNodeWithoutALogLine) {
  LogCapture log;
  EXPECT_EQ(quarx::core::Feature::Create(nullptr), nullptr);
  EXPECT_THAT(log.Lines(), ::testing::IsEmpty());
}

TEST(Feature, CreateGivesNullWhenTheTypeCannotBeRead) {
  auto node = NodeOfType<MockGenParameter>(FeatureTypeEnum::Integer, "Gain");
  ON_CALL(*node, GetType()).WillByDefault(Throw(ExceptionSdkAdaptor(0x4000, "GenericError", "gone")));
  LogCapture log;
  EXPECT_EQ(quarx::core::Feature::Create(node), nullptr);
  EXPECT_THAT(log.Text(), HasSubstr("[error] <Create>(Gain)"));
}

TEST(Feature, CreateGivesNullWhenTheNodeClassDoesNotMatchItsType) {
  // A plain node that claims to be an integer cannot be read as one.
  EXPECT_EQ(quarx::core::Feature::Create(NodeOfType<MockGenParameter>(FeatureTypeEnum::Integer, "Gain")), nullptr);
}

// One failure of a node write, and the detail code it must become.
struct WriteFault {
  const char* name;
  std::function<void()> raise;
  int detail;
  std::string message;
  // Texts the log lines must hold, in order; empty: not checked.
  std::vector<std::string> log;
};

class FeatureFromStringFault : public ::testing::TestWithParam<WriteFault> {};

TEST_P(FeatureFromStringFault, BecomesAFeatureExceptionWithItsDetail) {
  auto node = NodeOfType<MockGenInteger>(FeatureTypeEnum::Integer, "ExposureTime");
  EXPECT_CALL(*node, FromString("12x")).WillOnce([&](const std::string&) { GetParam().raise(); });
  auto feature = quarx::core::Feature::Create(node);
  ASSERT_NE(feature, nullptr);
  LogCapture log;
  try {
    feature->FromString("12x");
    FAIL() << "a refused write passed";
  } catch (const quarx::FeatureException& e) {
    EXPECT_EQ(e.GetResultCode(), 9);
    EXPECT_EQ(e.GetErrCodeDetail(), GetParam().detail);
    EXPECT_EQ(std::string(e.what()), GetParam().message);
  }
  if (!GetParam().log.empty()) {
    const std::vector<std::string> lines = log.Lines();
    ASSERT_EQ(lines.size(), GetParam().log.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
      EXPECT_THAT(lines[i], HasSubstr(GetParam().log[i]));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    ByDescription, FeatureFromStringFault,
    ::testing::Values(
        WriteFault{"NotWritable", [] { throw ExceptionSdkAdaptor(0x4000, "GenericError", "Node is not writable"); },
                   3002, "Node is not writable", {}},
        WriteFault{"NotReadable", [] { throw ExceptionSdkAdaptor(0x4000, "GenericError", "Node is not readable"); },
                   3001, "Node is not readable", {}},
        WriteFault{"NotAvailable", [] { throw ExceptionSdkAdaptor(0x4000, "GenericError", "Node is not available"); },
                   3001, "Node is not available", {}},
        // An unclassified failure is logged under the classified name, a standard one under the bare name.
        WriteFault{"Unclassified",
                   [] { throw ExceptionSdkAdaptor(0x4000, "GenericError", "Invalid value"); },
                   900,
                   "Invalid value",
                   {"[error] <Feature::FromString> ExposureTime is Invalid value", "[warning] <Feature::FromString:"}},
        WriteFault{"StandardException", [] { throw std::runtime_error("out of range"); }, 3000,
                   "ExposureTime : out of range", {"[warning] <FromString:"}}),
    [](const ::testing::TestParamInfo<WriteFault>& info) { return info.param.name; });

TEST(Feature, ReadFailureOfAGenericOperationIsTranslated) {
  auto node = NodeOfType<MockGenString>(FeatureTypeEnum::String, "DeviceVersion");
  ON_CALL(*node, ToString()).WillByDefault(Throw(ExceptionSdkAdaptor(0x4000, "GenericError", "Node is not readable")));
  auto feature = quarx::core::Feature::Create(node);
  try {
    feature->GetValueAsString();
    FAIL();
  } catch (const quarx::FeatureException& e) {
    EXPECT_EQ(e.GetErrCodeDetail(), 3001);
  }
}

TEST(Feature, FailureReportStillGoesOutWhenTheNameCannotBeRead) {
  auto node = NodeOfType<MockGenString>(FeatureTypeEnum::String, "Gain");
  ON_CALL(*node, GetName()).WillByDefault(Throw(std::runtime_error("no name")));
  ON_CALL(*node, GetCategory()).WillByDefault(Throw(std::runtime_error("no category")));
  auto feature = std::make_shared<quarx::core::FeatureString>(node);
  try {
    feature->GetCategory();
    FAIL();
  } catch (const quarx::FeatureException& e) {
    EXPECT_EQ(e.GetErrCodeDetail(), 3000);
    EXPECT_STREQ(e.what(), " : no category");
  }
}

TEST(Feature, TypedOperationFailureBelowIsAFeatureException) {
  // The mock typed node has no SDK node, so its typed operations fail in the adaptor.
  auto node = NodeOfType<MockGenInteger>(FeatureTypeEnum::Integer, "Width");
  quarx::core::FeatureInteger feature(node);
  EXPECT_THROW(feature.GetValue(), quarx::FeatureException);
  EXPECT_THROW(feature.SetValue(5), quarx::FeatureException);
}

TEST(FeatureEnum, EntriesOfAnEnumWithoutSdkNodeAreAnEmptyListAndOneErrorLine) {
  auto node = NodeOfType<MockGenEnum>(FeatureTypeEnum::Enum, "SourceSelector");
  quarx::core::FeatureEnum feature(node);
  LogCapture log;
  EXPECT_TRUE(feature.GetEntries(false).empty());
  EXPECT_THAT(log.Lines(), Contains(HasSubstr("[error] <GetEntries> SourceSelector invalid exception(")));
}

TEST(FeatureEnumEntry, FailureIsReportedUnderTheEntrysName) {
  auto entry = std::make_unique<NiceMock<MockGenEnumEntry>>();
  ON_CALL(*entry, GetName()).WillByDefault(Return("Source1"));
  ON_CALL(*entry, GetValue()).WillByDefault(Throw(std::runtime_error("unreadable")));
  ON_CALL(*entry, IsAvailable()).WillByDefault(Return(true));
  quarx::core::FeatureEnumEntry wrapped(std::move(entry));
  EXPECT_TRUE(wrapped.IsAvailable());
  try {
    wrapped.GetValue();
    FAIL();
  } catch (const quarx::FeatureException& e) {
    EXPECT_STREQ(e.what(), "Source1 : unreadable");
  }
}

}  // namespace
