// Tests of the pixel formats by rule rather than by restating the tables: every name and
// description against the naming convention, every class's traits against its name, and the
// factory map against the classes.

#include "pixelformat/pixel_format.h"

#include <cctype>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "pixelformat/pfnc_pixel_format_mono.h"

namespace quarx::pixelformat {
namespace {

// Any code at all, for asking names of codes that have no class.
class FormatWithCode : public PixelFormat {
 public:
  explicit FormatWithCode(std::uint32_t value) : PixelFormat(value, 0, kPlain) {}
};

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

// The description a name's convention gives, written out independently of the table under test:
// family words, the width, then packing (or "unpacked" for widths that need the word), layout
// and standard.
std::string RuleDescription(const std::string& name) {
  static const std::regex kYcbcr(
      "(YCbCr|YUV)(601|709|2020)?_?(411|422|420)?_?(\\d+)(p?)"
      "(_YY_CbCr_Semiplanar|_YY_CrCb_Semiplanar|_CbYCrY|_CbYYCrYY|_CbYCr|_UYVY|_UYYVYY|_UYV)?");
  static const std::regex kOther("([A-Za-z]+|Coord3D_[A-C]+|SCF1W[BGR]W[BGR])(\\d+)(p|Packed|s|f)?(_Planar)?");
  static const std::map<std::string, std::string> kWords = {
      {"Mono", "Monochrome"}, {"BayerGR", "Bayer Green-Red"}, {"BayerRG", "Bayer Red-Green"},
      {"BayerGB", "Bayer Green-Blue"}, {"BayerBG", "Bayer Blue-Green"}, {"Confidence", "Confidence"}, {"Data", "Data"},
      {"SCF1WBWG", "Sparse Color Filter #1 White-Blue-White-Green"},
      {"SCF1WGWB", "Sparse Color Filter #1 White-Green-White-Blue"},
      {"SCF1WGWR", "Sparse Color Filter #1 White-Green-White-Red"},
      {"SCF1WRWG", "Sparse Color Filter #1 White-Red-White-Green"}, {"Coord3D_A", "3D coordinate A"},
      {"Coord3D_B", "3D coordinate B"}, {"Coord3D_C", "3D coordinate C"}, {"Coord3D_AC", "3D coordinate A-C"},
      {"Coord3D_ABC", "3D coordinate A-B-C"}, {"R", "Red"}, {"G", "Green"}, {"B", "Blue"}, {"RGB", "Red-Green-Blue"},
      {"BGR", "Blue-Green-Red"}, {"RGBa", "Red-Green-Blue-alpha"}, {"BGRa", "Blue-Green-Red-alpha"},
      {"BiColorRGBG", "Bi-color Red/Green - Blue/Green"}, {"BiColorBGRG", "Bi-color Blue/Green - Red/Green"},
      {"411", "4:1:1"}, {"422", "4:2:2"}, {"420", "4:2:0"}, {"", "4:4:4"}};
  std::smatch part;
  if (std::regex_match(name, part, kYcbcr)) {
    std::string text = part[1].str() + " " + kWords.at(part[3]) + " " + part[4].str() + "-bit";
    text += part[5] == "p" ? " packed" : (part[4] == "10" || part[4] == "12") ? " unpacked" : "";
    if (part[6] == "_YY_CbCr_Semiplanar") text += " YY/CbCr Semiplanar";
    if (part[6] == "_YY_CrCb_Semiplanar") text += " YY/CrCb Semiplanar";
    return part[2].matched ? text + " BT." + part[2].str() : text;
  }
  if (!std::regex_match(name, part, kOther) || kWords.count(part[1]) == 0) {
    return "<no rule for " + name + ">";
  }
  const std::string bits = part[2];
  std::string text = kWords.at(part[1]) + " " + bits + "-bit";
  if (part[3] == "p" || part[3] == "Packed") {
    text += " packed";
  } else if (part[3] == "s" || part[3] == "f") {
    text += part[3] == "s" ? " signed" : " floating point";
  } else if (bits == "10" || bits == "12" || bits == "14") {
    text += " unpacked";
  }
  return part[4].matched ? text + " planar" : text;
}

TEST(PixelFormatNames, TableIsSortedUniqueAndEveryDescriptionFollowsTheRuleOrIsAListedException) {
  // The rows that break the rule on purpose, with their exact texts.
  std::map<std::string, std::string> exceptions = {
      {"Confidence1", "Confidence 1-bit unpacked"}, {"SCF1WBWG16", "Sparse Color Filter #1 White-Blue-White-Green 16-bit unpacked"},
      {"BayerGR14", "Bayer Green-Red 14-bit"}, {"BayerRG14", "Bayer Red-Green 14-bit"},
      {"BayerGB14", "Bayer Green-Blue 14-bit"}, {"BayerBG14", "Bayer Blue-Green 14-bit"}, {"R10", "Red 10-bit"},
      {"R12", "Red 12-bit"}, {"G10", "Green 10-bit"}, {"G12", "Green 12-bit"}, {"B10", "Blue 10-bit"},
      {"B12", "Blue 12-bit"}, {"RGB565p", "Red-Green-Blue 5/6/5-bit packed"},
      {"BGR565p", "Blue-Green-Red 5/6/5-bit packed"}, {"RGB10V1Packed", "Red-Green-Blue 10-bit packed - variant 1"},
      {"RGB12V1Packed", "Red-Green-Blue 12-bit packed - variant 1"},
      {"RGB10p32", "Red-Green-Blue 10-bit packed into 32-bit"}, {"InvalidPixelFormat", "Invalid pixel format value"}};
  for (const char* deprecated : {"R10", "G10", "B10", "R12", "G12", "B12"}) {
    exceptions[std::string(deprecated) + "_Deprecated"] = "Deprecated because size field is wrong";
  }
  ASSERT_EQ(kPixelFormatTexts.size(), 277U);
  std::set<std::string> names;
  std::size_t exceptions_seen = 0;
  for (std::size_t i = 0; i < kPixelFormatTexts.size(); ++i) {
    const PixelFormatText& row = kPixelFormatTexts[i];
    EXPECT_TRUE(names.insert(row.name).second) << "name taken twice: " << row.name;
    EXPECT_TRUE(i == 0 || kPixelFormatTexts[i - 1].value < row.value) << row.name << " is out of order";
    const auto exception = exceptions.find(row.name);
    exceptions_seen += exception != exceptions.end() ? 1 : 0;
    EXPECT_EQ(row.description, exception != exceptions.end() ? exception->second : RuleDescription(row.name));
    // A format of the row's code answers with the row's texts.
    EXPECT_EQ(FormatWithCode(row.value).GetName(), row.name);
    EXPECT_EQ(FormatWithCode(row.value).GetDescription(), row.description);
  }
  EXPECT_EQ(kPixelFormatTexts.front().value, 0U);
  EXPECT_EQ(exceptions_seen, exceptions.size());
}

TEST(PixelFormatNames, CodesOutsideTheTableAreUnknown) {
  // Between named codes, past the last one, and codes whose width byte looks right but whose number is unused.
  for (const std::uint32_t code : {0x01080003U, 0x00000001U, 0x01080000U, 0x026000C2U, 0xFFFFFFFFU, 0x81080001U}) {
    EXPECT_EQ(FormatWithCode(code).GetName(), "UnknownPixelFormat") << std::hex << code;
    EXPECT_EQ(FormatWithCode(code).GetDescription(), "Unknown pixel format value") << std::hex << code;
  }
}

// The traits a format must have, read from its name: the first number is the width; a trailing
// "p", "p32" or "Packed" means packed; Bayer formats count as colour; "RGBa"/"BGRa" carry alpha.
void ExpectTraitsOfItsName(const PixelFormat& format) {
  const std::string name = format.GetName();
  ASSERT_NE(name, "UnknownPixelFormat") << std::hex << format.GetValue();
  const std::size_t digit = name.find_first_of("0123456789");
  const bool bayer = StartsWith(name, "Bayer");
  const std::regex packed(".*(p|p32|Packed)");
  EXPECT_EQ(format.GetBitsPerComponent(), std::stoul(name.substr(digit))) << name;
  EXPECT_EQ(format.IsPacked(), std::regex_match(name, packed)) << name;
  EXPECT_EQ(format.IsBayer(), bayer) << name;
  EXPECT_EQ(format.IsColor(), bayer || StartsWith(name, "RGB") || StartsWith(name, "BGR")) << name;
  EXPECT_EQ(format.HasAlphaChannel(), StartsWith(name, "RGBa") || StartsWith(name, "BGRa")) << name;
}

TEST(PixelFormatFactory, EveryClassHasTheTraitsOfTheNameOfItsCode) {
  // Every class but Mono8s and Mono32 has an entry; the map's entries are all the other classes.
  ASSERT_EQ(quarx::table_.size(), 81U);
  std::set<std::string> names;
  for (const auto& [code, make] : quarx::table_) {
    const PixelFormat made = make();
    EXPECT_EQ(made.GetValue(), code);
    names.insert(made.GetName());
    ExpectTraitsOfItsName(made);
    ExpectTraitsOfItsName(PixelFormat::Create(code));
  }
  EXPECT_EQ(names.size(), 81U);
  ExpectTraitsOfItsName(Mono8s());
  ExpectTraitsOfItsName(Mono32());
  EXPECT_EQ(Mono8s().GetName(), "Mono8s");
  EXPECT_EQ(Mono32().GetName(), "Mono32");
}

TEST(PixelFormatFactory, CreateOfACodeWithoutEntryThrowsEveryTimeAndLeavesTheMapAlone) {
  // Invalid, a class without entry (Mono8s, Mono32), named without class, no format at all.
  for (const std::uint32_t code : {0x00000000U, 0x01080002U, 0x01200111U, 0x0210001FU, 0x01080003U, 0xFFFFFFFFU}) {
    for (int attempt = 0; attempt < 2; ++attempt) {
      EXPECT_THROW(PixelFormat::Create(code), std::bad_function_call) << std::hex << code;
    }
  }
  EXPECT_EQ(quarx::table_.size(), 81U);
}

}  // namespace
}  // namespace quarx::pixelformat
