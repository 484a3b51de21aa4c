#pragma once
// The pixel-format value type, its factory from a 32-bit PFNC code, and the fixed table of format names.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>

namespace quarx::pixelformat {

// A pixel-format code with the traits image handling needs without decoding the code. Copied and returned by
// value: whatever concrete class built it, a copy keeps the five fields and nothing else.
class PixelFormat {
 public:
  // The value object of `value`'s class. Throws std::bad_function_call when no class has that code.
  static PixelFormat Create(std::uint32_t value);

  PixelFormat(const PixelFormat&) = default;
  PixelFormat& operator=(const PixelFormat&) = default;
  virtual ~PixelFormat();

  virtual std::uint8_t GetBitsPerComponent() const;
  // Both answer from the name table; code 0 and codes outside the table get fixed fall-back texts.
  virtual std::string GetDescription() const;
  virtual std::string GetName() const;
  virtual std::uint32_t GetValue() const;
  virtual bool IsBayer() const;
  virtual bool IsColor() const;
  virtual bool IsPacked() const;
  bool HasAlphaChannel() const;

 protected:
  // Traits a concrete format hands to its base, combined with |.
  static constexpr unsigned kPlain = 0;
  static constexpr unsigned kPacked = 1U << 0;
  static constexpr unsigned kBayer = 1U << 1;
  static constexpr unsigned kColor = 1U << 2;
  static constexpr unsigned kAlpha = 1U << 3;

  PixelFormat(std::uint32_t value, std::uint8_t bits_per_component, unsigned traits);

 private:
  std::uint32_t value_;
  std::uint8_t bits_per_component_;
  bool packed_;
  bool bayer_;
  bool color_;
  bool alpha_;
};

// Base of the formats of the GenICam Pixel Format Naming Convention.
class AbstractPfncPixelFormat : public PixelFormat {
 protected:
  using PixelFormat::PixelFormat;
};

// Base of the GigE Vision 2 packed formats that predate the naming convention.
class AbstractGev2PixelFormat : public PixelFormat {
 protected:
  using PixelFormat::PixelFormat;
};

// One row of the name table: a code with its PFNC name and English description.
struct PixelFormatText {
  std::uint32_t value;
  const char* name;
  const char* description;
};

// Code 0 plus the 276 named format codes.
inline constexpr std::size_t kPixelFormatTextCount = 277;

// Sorted by code (strictly ascending), so a lookup can bisect it; row 0 is code 0.
extern const std::array<PixelFormatText, kPixelFormatTextCount> kPixelFormatTexts;

}  // namespace quarx::pixelformat

namespace quarx {

// Code -> maker of its value object. Filled before main and only read afterwards, so lookups from any thread
// are safe; it is const so that no lookup can ever add an entry.
extern const std::unordered_map<std::uint32_t, std::function<pixelformat::PixelFormat()>> table_;

}  // namespace quarx
