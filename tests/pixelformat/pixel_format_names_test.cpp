// Tests of the pixel-format name table: its shape, the fall-backs, and every description against the naming rule.

#include <map>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "pixelformat/pixel_format.h"

namespace quarx::pixelformat {
namespace {

// Any code at all, for asking names of codes that have no class.
class FormatWithCode : public PixelFormat {
 public:
  explicit FormatWithCode(std::uint32_t value) : PixelFormat(value, 0, kPlain) {}
};

constexpr std::size_t kNamedCodeCount = 276;

TEST(PixelFormatNames, TableHoldsCodeZeroAndEveryNamedCodeInAscendingOrder) {
  ASSERT_EQ(kPixelFormatTexts.size(), kNamedCodeCount + 1);
  EXPECT_EQ(kPixelFormatTexts.front().value, 0U);
  std::set<std::string> names;
  std::set<std::uint32_t> codes;
  for (std::size_t i = 0; i < kPixelFormatTexts.size(); ++i) {
    const PixelFormatText& row = kPixelFormatTexts[i];
    ASSERT_NE(row.name, nullptr) << "row " << i;
    ASSERT_NE(row.description, nullptr) << "row " << i;
    EXPECT_FALSE(std::string(row.name).empty()) << "row " << i;
    EXPECT_FALSE(std::string(row.description).empty()) << row.name;
    EXPECT_TRUE(names.insert(row.name).second) << "name taken twice: " << row.name;
    EXPECT_TRUE(codes.insert(row.value).second) << "code taken twice: " << row.name;
    if (i > 0) {
      EXPECT_LT(kPixelFormatTexts[i - 1].value, row.value) << row.name << " is out of order";
    }
    const FormatWithCode format(row.value);
    EXPECT_EQ(format.GetName(), row.name);
    EXPECT_EQ(format.GetDescription(), row.description);
  }
}

TEST(PixelFormatNames, CodeZeroIsInvalidAndCodesOutsideTheTableAreUnknown) {
  const FormatWithCode invalid(0);
  EXPECT_EQ(invalid.GetName(), "InvalidPixelFormat");
  EXPECT_EQ(invalid.GetDescription(), "Invalid pixel format value");
  // Between named codes, past the last one, and codes whose width byte looks right but whose number is unused.
  for (const std::uint32_t code : {0x01080003U, 0x00000001U, 0x01080000U, 0x026000C2U, 0xFFFFFFFFU, 0x81080001U}) {
    const FormatWithCode unknown(code);
    EXPECT_EQ(unknown.GetName(), "UnknownPixelFormat") << std::hex << code;
    EXPECT_EQ(unknown.GetDescription(), "Unknown pixel format value") << std::hex << code;
  }
}

TEST(PixelFormatNames, PinnedSampleCodesHaveTheirNameAndDescription) {
  struct Case {
    std::uint32_t code;
    const char* name;
    const char* description;
  };
  // The rest of the table is checked against the naming rule below; these are the pinned samples.
  const Case cases[] = {
      {0x01080002, "Mono8s", "Monochrome 8-bit signed"},
      {0x01200111, "Mono32", "Monochrome 32-bit"},
      {0x01100025, "Mono14", "Monochrome 14-bit unpacked"},
      {0x01100109, "BayerGR14", "Bayer Green-Red 14-bit"},
      {0x0214009E, "YCbCr601_422_10p_CbYCrY", "YCbCr 4:2:2 10-bit packed BT.601"},
      {0x026000C1, "Coord3D_ABC32f_Planar", "3D coordinate A-B-C 32-bit floating point planar"},
  };
  for (const Case& c : cases) {
    const FormatWithCode format(c.code);
    EXPECT_EQ(format.GetName(), c.name) << std::hex << c.code;
    EXPECT_EQ(format.GetDescription(), c.description) << std::hex << c.code;
  }
}

// The description rule, written out independently of the table under test.
std::string YcbcrDescription(const std::string& name) {
  static const std::regex kLayout(
      "(YCbCr|YUV)(601|709|2020)?_?(411|422|420)?_?(\\d+)(p?)"
      "(_YY_CbCr_Semiplanar|_YY_CrCb_Semiplanar|_CbYCrY|_CbYYCrYY|_CbYCr|_UYVY|_UYYVYY|_UYV)?");
  std::smatch part;
  if (!std::regex_match(name, part, kLayout)) {
    return "<no YCbCr layout: " + name + ">";
  }
  static const std::map<std::string, std::string> kSampling = {
      {"411", "4:1:1"}, {"422", "4:2:2"}, {"420", "4:2:0"}, {"", "4:4:4"}};
  const std::string bits = part[4];
  std::string text = part[1].str() + " " + kSampling.at(part[3]) + " " + bits + "-bit";
  if (part[5] == "p") {
    text += " packed";
  } else if (bits == "10" || bits == "12") {
    text += " unpacked";
  }
  if (part[6] == "_YY_CbCr_Semiplanar") text += " YY/CbCr Semiplanar";
  if (part[6] == "_YY_CrCb_Semiplanar") text += " YY/CrCb Semiplanar";
  if (part[2].matched) text += " BT." + part[2].str();
  return text;
}

std::string RuleDescription(const std::string& name) {
  if (name.rfind("YCbCr", 0) == 0 || name.rfind("YUV", 0) == 0) {
    return YcbcrDescription(name);
  }
  static const std::vector<std::pair<std::string, std::string>> kFamilies = {
      {"Mono", "Monochrome"},
      {"BayerGR", "Bayer Green-Red"},
      {"BayerRG", "Bayer Red-Green"},
      {"BayerGB", "Bayer Green-Blue"},
      {"BayerBG", "Bayer Blue-Green"},
      {"SCF1WBWG", "Sparse Color Filter #1 White-Blue-White-Green"},
      {"SCF1WGWB", "Sparse Color Filter #1 White-Green-White-Blue"},
      {"SCF1WGWR", "Sparse Color Filter #1 White-Green-White-Red"},
      {"SCF1WRWG", "Sparse Color Filter #1 White-Red-White-Green"},
      {"Coord3D_A", "3D coordinate A"},
      {"Coord3D_B", "3D coordinate B"},
      {"Coord3D_C", "3D coordinate C"},
      {"Coord3D_AC", "3D coordinate A-C"},
      {"Coord3D_ABC", "3D coordinate A-B-C"},
      {"Confidence", "Confidence"},
      {"Data", "Data"},
      {"R", "Red"},
      {"G", "Green"},
      {"B", "Blue"},
      {"RGB", "Red-Green-Blue"},
      {"BGR", "Blue-Green-Red"},
      {"RGBa", "Red-Green-Blue-alpha"},
      {"BGRa", "Blue-Green-Red-alpha"},
      {"BiColorRGBG", "Bi-color Red/Green - Blue/Green"},
      {"BiColorBGRG", "Bi-color Blue/Green - Red/Green"},
  };
  const std::pair<std::string, std::string>* family = nullptr;
  for (const auto& candidate : kFamilies) {
    if (name.rfind(candidate.first, 0) == 0 && (family == nullptr || candidate.first.size() > family->first.size())) {
      family = &candidate;
    }
  }
  static const std::regex kTail("(\\d+)(p|Packed|s|f)?(_Planar)?");
  std::smatch part;
  const std::string tail = family != nullptr ? name.substr(family->first.size()) : name;
  if (family == nullptr || !std::regex_match(tail, part, kTail)) {
    return "<no rule for " + name + ">";
  }
  const std::string bits = part[1];
  std::string text = family->second + " " + bits + "-bit";
  const std::string suffix = part[2];
  if (suffix == "p" || suffix == "Packed") {
    text += " packed";
  } else if (suffix == "s") {
    text += " signed";
  } else if (suffix == "f") {
    text += " floating point";
  } else if (bits == "10" || bits == "12" || bits == "14") {
    text += " unpacked";
  }
  if (part[3].matched) text += " planar";
  return text;
}

// The rows that break the rule on purpose, with their exact texts.
const std::map<std::string, std::string>& Exceptions() {
  static const std::map<std::string, std::string> kExceptions = {
      {"R10_Deprecated", "Deprecated because size field is wrong"},
      {"G10_Deprecated", "Deprecated because size field is wrong"},
      {"B10_Deprecated", "Deprecated because size field is wrong"},
      {"R12_Deprecated", "Deprecated because size field is wrong"},
      {"G12_Deprecated", "Deprecated because size field is wrong"},
      {"B12_Deprecated", "Deprecated because size field is wrong"},
      {"Confidence1", "Confidence 1-bit unpacked"},
      {"SCF1WBWG16", "Sparse Color Filter #1 White-Blue-White-Green 16-bit unpacked"},
      {"BayerGR14", "Bayer Green-Red 14-bit"},
      {"BayerRG14", "Bayer Red-Green 14-bit"},
      {"BayerGB14", "Bayer Green-Blue 14-bit"},
      {"BayerBG14", "Bayer Blue-Green 14-bit"},
      {"R10", "Red 10-bit"},
      {"R12", "Red 12-bit"},
      {"G10", "Green 10-bit"},
      {"G12", "Green 12-bit"},
      {"B10", "Blue 10-bit"},
      {"B12", "Blue 12-bit"},
      {"RGB565p", "Red-Green-Blue 5/6/5-bit packed"},
      {"BGR565p", "Blue-Green-Red 5/6/5-bit packed"},
      {"RGB10V1Packed", "Red-Green-Blue 10-bit packed - variant 1"},
      {"RGB12V1Packed", "Red-Green-Blue 12-bit packed - variant 1"},
      {"RGB10p32", "Red-Green-Blue 10-bit packed into 32-bit"},
  };
  return kExceptions;
}

TEST(PixelFormatNames, EveryDescriptionFollowsTheRuleOrIsAListedException) {
  std::size_t exceptions_seen = 0;
  for (std::size_t i = 1; i < kPixelFormatTexts.size(); ++i) {
    const std::string name = kPixelFormatTexts[i].name;
    const auto exception = Exceptions().find(name);
    if (exception != Exceptions().end()) {
      ++exceptions_seen;
      EXPECT_EQ(kPixelFormatTexts[i].description, exception->second) << name;
    } else {
      EXPECT_EQ(kPixelFormatTexts[i].description, RuleDescription(name)) << name;
    }
  }
  EXPECT_EQ(exceptions_seen, Exceptions().size());
}

}  // namespace
}  // namespace quarx::pixelformat
