// SDK results become log lines and adaptor exceptions with the right codes and texts; the SDK's
// enumerations and ours convert by fixed tables, every row of which is written out here from the
// tables that define them, so that changing any one row fails.
#include "sdkadaptor/src/result.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "camerasdk/PvResult.h"
#include "pixelformat/pixel_format.h"
#include "sdkadaptor/src/access_type_converter.h"
#include "sdkadaptor/src/buffer_format_converter.h"
#include "sdkadaptor/src/device_interface_type_converter.h"
#include "sdkadaptor/src/feature_type_converter.h"
#include "sdkadaptor/src/pixel_type_converter.h"
#include "sdkadaptor/src/representation_converter.h"
#include "sdkadaptor/src/visibility_converter.h"
#include "tests/support/log_capture.h"
#include "tests/support/thrown_adaptor_exception.h"

namespace quarx::sdkadaptor {
namespace {

using quarx::test::Thrown;
using ::testing::ElementsAre;

TEST(Result, KeepsListedCodesFoldsOthersToGenericErrorAndBusyOnesToDeviceBusy) {
  EXPECT_EQ(Result().GetCodeString(), "Ok");
  for (const unsigned int kept : {0x17u, 0x0B03u, 0xFFFFu}) {
    EXPECT_EQ(Result::CodeEnumFromUint(kept), kept);
  }
  EXPECT_EQ(Result::CodeEnumFromUint(0x0002), 0x4000u);
  EXPECT_EQ(Result(0x100001, "x", "y").GetCode(), 0x4000u);
  const Result timeout(PvResult(0x1E, "took too long"));
  EXPECT_EQ(timeout.GetCodeString() + "/" + timeout.GetDescription(), "Timeout/took too long");
  EXPECT_EQ(ExceptionSdkAdaptor(0x100001, "").GetCodeString(), "InvalidParameterIndex");
  EXPECT_THROW(ExceptionSdkAdaptor(0x1E, "timeout"), std::out_of_range);
  for (const PvResult& busy : {PvResult(0x202, "busy"), PvResult(0x4000, 0x4000, "busy")}) {
    EXPECT_TRUE(Result::IsBusy(busy));
    const ExceptionSdkAdaptor e = Thrown([&] { Result::ThrowExceptionWhenError(busy, "f", 1); });
    EXPECT_EQ(e.GetCodeString() + "/" + e.GetDescription() + "/" + std::to_string(e.GetCode()), "Device BUSY/busy/514");
  }
  EXPECT_FALSE(Result::IsBusy(PvResult(0x4000, 0x17, "generic")));
}

TEST(Result, SuccessLogsOneTraceLineAndAFailureAnErrorAndAWarningLineAndThrows) {
  quarx::test::LogCapture log;
  Result::LoggingPvResult(PvResult(), "Connect");
  EXPECT_NO_THROW(Result::ThrowExceptionWhenError(PvResult(), "device.cpp", 12));
  const PvResult failed(0x0002, "odd failure");
  Result::LoggingPvResult(failed, "DisConnect");
  const ExceptionSdkAdaptor e = Thrown([&] { Result::ThrowExceptionWhenError(failed, "device.cpp", 40); });
  EXPECT_EQ(e.GetCode(), 0x4000u);
  EXPECT_EQ(e.GetCodeString() + "/" + e.GetDescription(), "Unknown/odd failure");
  EXPECT_THAT(log.Lines(), ElementsAre("[trace] <Connect> Result(OK), Description()",
                                       "[error] <DisConnect> Result(Unknown), Description(odd failure)",
                                       "[warning] ThrowExceptionWhenError Result(Unknown) File(device.cpp) Line(40)"));
}

int Representation(int sdk) { return static_cast<int>(RepresentationTypeConverter::ConvertTo(sdk)); }
int Visibility(int sdk) { return static_cast<int>(VisibilityConverter::ConvertTo(sdk)); }
int NodeType(int sdk) { return static_cast<int>(FeatureTypeConverter::ConvertTo(sdk)); }
int InterfaceType(int sdk) { return static_cast<int>(DeviceInterfaceTypeConverter::ConvertTo(sdk)); }
// No SDK access type is 0: it stands for "no row", for which the caller asks for Control.
int Access(int own) {
  return AccessTypeConverter::ConvertTo(static_cast<AccessTypeEnum>(own)).value_or(PvAccessType{});
}
int BufferFormat(int own) { return BufferFormatConverter::ConvertTo(static_cast<BufferFormatType>(own)); }
int PixelType(int code) {
  return static_cast<int>(PixelTypeConverter::ConvertTo(pixelformat::PixelFormat::Create(code)));
}

TEST(Converters, EveryRowOfEveryFixedTableAndValuesWithoutARow) {
  // One table per line, {from, to}, the SDK's "undefined" (999; -1 for the interface type) among them.
  // Own values are numbers here: that pins the numbering of the enumerations too.
  const struct {
    const char* table;
    int (*convert)(int);
    std::vector<std::pair<int, int>> rows;
  } kTables[] = {
      {"representation", Representation, {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {999, 5}, {5, 5}, {-1, 5}}},
      {"visibility", Visibility, {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {999, 4}, {4, 4}, {-1, 4}}},
      {"node type", NodeType, {{0, 0}, {1, 3}, {2, 4}, {3, 2}, {4, 5}, {5, 1}, {6, 6}, {999, 7}, {7, 7}, {-1, 7}}},
      {"interface type", InterfaceType, {{0, 0}, {1, 2}, {2, 1}, {3, 1}, {-1, 2}, {4, 2}}},
      {"access", Access, {{0, 2}, {1, 3}, {2, 4}, {3, 0}}},
      {"buffer format", BufferFormat, {{0, 0}, {1, 2}, {2, 1}}},
      // The PFNC code passes unchanged: Mono8, BGR8 and the GigE Vision 2 code Mono12Packed.
      {"pixel type", PixelType, {{0x01080001, 0x01080001}, {0x02180015, 0x02180015}, {0x010C0006, 0x010C0006}}},
  };
  for (const auto& table : kTables) {
    for (const auto& [from, to] : table.rows) {
      EXPECT_EQ(table.convert(from), to) << table.table << " " << from;
    }
  }
  EXPECT_THROW(BufferFormat(3), std::out_of_range);
}

}  // namespace
}  // namespace quarx::sdkadaptor
