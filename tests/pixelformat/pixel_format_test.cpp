// Tests of the pixel-format classes, their traits and the factory map from code to class.

#include "pixelformat/pixel_format.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "pixelformat/gev2_pixel_format.h"
#include "pixelformat/pfnc_pixel_format_bayer.h"
#include "pixelformat/pfnc_pixel_format_color.h"
#include "pixelformat/pfnc_pixel_format_mono.h"

namespace quarx::pixelformat {
namespace {

enum class Base { kPfnc, kGev2 };

struct ClassRow {
  std::string name;
  std::uint32_t code;
  Base base;
  std::function<std::unique_ptr<PixelFormat>()> make;
};

template <typename Format>
ClassRow Row(const char* name, std::uint32_t code) {
  const Base base = std::is_base_of_v<AbstractGev2PixelFormat, Format> ? Base::kGev2 : Base::kPfnc;
  return {name, code, base, [] { return std::make_unique<Format>(); }};
}

// Every class with the code the naming convention gives it, typed in from the format tables rather than
// taken from the sources under test.
std::vector<ClassRow> AllClasses() {
  return {
      Row<Mono8>("Mono8", 0x01080001),
      Row<Mono10>("Mono10", 0x01100003),
      Row<Mono10p>("Mono10p", 0x010A0046),
      Row<Mono12>("Mono12", 0x01100005),
      Row<Mono12p>("Mono12p", 0x010C0047),
      Row<Mono14>("Mono14", 0x01100025),
      Row<Mono14p>("Mono14p", 0x010E0104),
      Row<Mono16>("Mono16", 0x01100007),
      Row<BayerBG8>("BayerBG8", 0x0108000B),
      Row<BayerBG10>("BayerBG10", 0x0110000F),
      Row<BayerBG10p>("BayerBG10p", 0x010A0052),
      Row<BayerBG12>("BayerBG12", 0x01100013),
      Row<BayerBG12p>("BayerBG12p", 0x010C0053),
      Row<BayerBG14>("BayerBG14", 0x0110010C),
      Row<BayerBG14p>("BayerBG14p", 0x010E0108),
      Row<BayerBG16>("BayerBG16", 0x01100031),
      Row<BayerGB8>("BayerGB8", 0x0108000A),
      Row<BayerGB10>("BayerGB10", 0x0110000E),
      Row<BayerGB10p>("BayerGB10p", 0x010A0054),
      Row<BayerGB12>("BayerGB12", 0x01100012),
      Row<BayerGB12p>("BayerGB12p", 0x010C0055),
      Row<BayerGB14>("BayerGB14", 0x0110010B),
      Row<BayerGB14p>("BayerGB14p", 0x010E0107),
      Row<BayerGB16>("BayerGB16", 0x01100030),
      Row<BayerGR8>("BayerGR8", 0x01080008),
      Row<BayerGR10>("BayerGR10", 0x0110000C),
      Row<BayerGR10p>("BayerGR10p", 0x010A0056),
      Row<BayerGR12>("BayerGR12", 0x01100010),
      Row<BayerGR12p>("BayerGR12p", 0x010C0057),
      Row<BayerGR14>("BayerGR14", 0x01100109),
      Row<BayerGR14p>("BayerGR14p", 0x010E0105),
      Row<BayerGR16>("BayerGR16", 0x0110002E),
      Row<BayerRG8>("BayerRG8", 0x01080009),
      Row<BayerRG10>("BayerRG10", 0x0110000D),
      Row<BayerRG10p>("BayerRG10p", 0x010A0058),
      Row<BayerRG12>("BayerRG12", 0x01100011),
      Row<BayerRG12p>("BayerRG12p", 0x010C0059),
      Row<BayerRG14>("BayerRG14", 0x0110010A),
      Row<BayerRG14p>("BayerRG14p", 0x010E0106),
      Row<BayerRG16>("BayerRG16", 0x0110002F),
      Row<RGB8>("RGB8", 0x02180014),
      Row<RGB10>("RGB10", 0x02300018),
      Row<RGB10p>("RGB10p", 0x021E005C),
      Row<RGB12>("RGB12", 0x0230001A),
      Row<RGB12p>("RGB12p", 0x0224005D),
      Row<RGB14>("RGB14", 0x0230005E),
      Row<RGB16>("RGB16", 0x02300033),
      Row<BGR8>("BGR8", 0x02180015),
      Row<BGR10>("BGR10", 0x02300019),
      Row<BGR10p>("BGR10p", 0x021E0048),
      Row<BGR12>("BGR12", 0x0230001B),
      Row<BGR12p>("BGR12p", 0x02240049),
      Row<BGR14>("BGR14", 0x0230004A),
      Row<BGR16>("BGR16", 0x0230004B),
      Row<RGBa8>("RGBa8", 0x02200016),
      Row<RGBa10>("RGBa10", 0x0240005F),
      Row<RGBa10p>("RGBa10p", 0x02280060),
      Row<RGBa12>("RGBa12", 0x02400061),
      Row<RGBa12p>("RGBa12p", 0x02300062),
      Row<RGBa14>("RGBa14", 0x02400063),
      Row<RGBa16>("RGBa16", 0x02400064),
      Row<BGRa8>("BGRa8", 0x02200017),
      Row<BGRa10>("BGRa10", 0x0240004C),
      Row<BGRa10p>("BGRa10p", 0x0228004D),
      Row<BGRa12>("BGRa12", 0x0240004E),
      Row<BGRa12p>("BGRa12p", 0x0230004F),
      Row<BGRa14>("BGRa14", 0x02400050),
      Row<BGRa16>("BGRa16", 0x02400051),
      Row<Mono8s>("Mono8s", 0x01080002),
      Row<Mono32>("Mono32", 0x01200111),
      Row<RGB10p32>("RGB10p32", 0x0220001D),
      Row<Mono10Packed>("Mono10Packed", 0x010C0004),
      Row<Mono12Packed>("Mono12Packed", 0x010C0006),
      Row<BayerGR10Packed>("BayerGR10Packed", 0x010C0026),
      Row<BayerRG10Packed>("BayerRG10Packed", 0x010C0027),
      Row<BayerGB10Packed>("BayerGB10Packed", 0x010C0028),
      Row<BayerBG10Packed>("BayerBG10Packed", 0x010C0029),
      Row<BayerGR12Packed>("BayerGR12Packed", 0x010C002A),
      Row<BayerRG12Packed>("BayerRG12Packed", 0x010C002B),
      Row<BayerGB12Packed>("BayerGB12Packed", 0x010C002C),
      Row<BayerBG12Packed>("BayerBG12Packed", 0x010C002D),
      Row<RGB10V1Packed>("RGB10V1Packed", 0x0220001C),
      Row<RGB12V1Packed>("RGB12V1Packed", 0x02240034),
  };
}

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The traits a class must have, read from its name: the first number is the width; a trailing "p", "p32" or
// "Packed" means packed; Bayer formats count as colour; "RGBa"/"BGRa" carry alpha.
struct Traits {
  unsigned bits;
  bool packed;
  bool bayer;
  bool color;
  bool alpha;
};

Traits TraitsFromName(const std::string& name) {
  std::size_t digit = 0;
  while (digit < name.size() && !std::isdigit(static_cast<unsigned char>(name[digit]))) {
    ++digit;
  }
  const unsigned bits = static_cast<unsigned>(std::stoul(name.substr(digit)));
  const bool bayer = StartsWith(name, "Bayer");
  return {bits, EndsWith(name, "p") || EndsWith(name, "p32") || EndsWith(name, "Packed"), bayer,
          bayer || StartsWith(name, "RGB") || StartsWith(name, "BGR"),
          StartsWith(name, "RGBa") || StartsWith(name, "BGRa")};
}

void ExpectTraits(const PixelFormat& format, const ClassRow& row) {
  const Traits expected = TraitsFromName(row.name);
  EXPECT_EQ(format.GetValue(), row.code) << row.name;
  EXPECT_EQ(format.GetBitsPerComponent(), expected.bits) << row.name;
  EXPECT_EQ(format.IsPacked(), expected.packed) << row.name;
  EXPECT_EQ(format.IsBayer(), expected.bayer) << row.name;
  EXPECT_EQ(format.IsColor(), expected.color) << row.name;
  EXPECT_EQ(format.HasAlphaChannel(), expected.alpha) << row.name;
  EXPECT_EQ(format.GetName(), row.name);
}

bool HasNoEntry(const std::string& name) { return name == "Mono8s" || name == "Mono32"; }

TEST(PixelFormatClasses, EveryClassSetsTheCodeAndTraitsOfItsName) {
  const std::vector<ClassRow> rows = AllClasses();
  ASSERT_EQ(rows.size(), 83U);
  std::set<std::uint32_t> codes;
  int gev2_count = 0;
  for (const ClassRow& row : rows) {
    const std::unique_ptr<PixelFormat> format = row.make();
    ExpectTraits(*format, row);
    EXPECT_TRUE(codes.insert(row.code).second) << "code of " << row.name << " is taken twice";
    if (row.base == Base::kGev2) {
      ++gev2_count;
      EXPECT_NE(dynamic_cast<AbstractGev2PixelFormat*>(format.get()), nullptr) << row.name;
    } else {
      EXPECT_NE(dynamic_cast<AbstractPfncPixelFormat*>(format.get()), nullptr) << row.name;
    }
  }
  EXPECT_EQ(gev2_count, 12);
}

TEST(PixelFormatFactory, EveryMapEntryCreatesItsClassWithTheClassTraits) {
  const std::vector<ClassRow> rows = AllClasses();
  ASSERT_EQ(quarx::table_.size(), 81U);
  for (const auto& [code, make] : quarx::table_) {
    const auto row =
        std::find_if(rows.begin(), rows.end(), [code = code](const ClassRow& r) { return r.code == code; });
    ASSERT_NE(row, rows.end()) << std::hex << "map holds code 0x" << code << " of no class";
    const PixelFormat made = make();
    ExpectTraits(made, *row);
    ExpectTraits(PixelFormat::Create(code), *row);
  }
  for (const ClassRow& row : rows) {
    EXPECT_EQ(quarx::table_.count(row.code), HasNoEntry(row.name) ? 0U : 1U) << row.name;
  }
}

TEST(PixelFormatFactory, CreateKeepsTheTraitsGivenForSampleCodes) {
  struct Case {
    std::uint32_t code;
    unsigned bits;
    bool packed, bayer, color, alpha;
  };
  const Case cases[] = {
      {0x01080001, 8, false, false, false, false},  // Mono8
      {0x010C0059, 12, true, true, true, false},    // BayerRG12p
      {0x0230004F, 12, true, false, true, true},    // BGRa12p
      {0x0220001D, 10, true, false, true, false},   // RGB10p32
      {0x010C0026, 10, true, true, true, false},    // BayerGR10Packed
      {0x02240034, 12, true, false, true, false},   // RGB12V1Packed
  };
  for (const Case& c : cases) {
    const PixelFormat format = PixelFormat::Create(c.code);
    EXPECT_EQ(format.GetValue(), c.code);
    EXPECT_EQ(format.GetBitsPerComponent(), c.bits) << std::hex << c.code;
    EXPECT_EQ(format.IsPacked(), c.packed) << std::hex << c.code;
    EXPECT_EQ(format.IsBayer(), c.bayer) << std::hex << c.code;
    EXPECT_EQ(format.IsColor(), c.color) << std::hex << c.code;
    EXPECT_EQ(format.HasAlphaChannel(), c.alpha) << std::hex << c.code;
  }
  EXPECT_EQ(PixelFormat::Create(0x01080001).GetName(), "Mono8");
}

TEST(PixelFormatFactory, CreateOfACodeWithoutEntryThrowsEveryTimeAndLeavesTheMapAlone) {
  const std::uint32_t codes[] = {
      0x00000000,  // invalid
      0x01080002,  // Mono8s: a class, but no entry
      0x01200111,  // Mono32: a class, but no entry
      0x0210001F,  // YUV422_8_UYVY: named, but no class
      0x01080003,  // no format at all
      0xFFFFFFFF,
  };
  for (const std::uint32_t code : codes) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      EXPECT_THROW(PixelFormat::Create(code), std::bad_function_call) << std::hex << code;
      EXPECT_EQ(quarx::table_.count(code), 0U) << std::hex << code;
    }
  }
  EXPECT_EQ(quarx::table_.size(), 81U);
}

}  // namespace
}  // namespace quarx::pixelformat
