// BMP, TIFF and raw files from the pictures of buffers.
#include "camerasdk/PvBufferWriter.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "camerasdk/arv_support.h"

using camerasdk_detail::Failure;

namespace {

constexpr uint64_t kBitsPerByte = 8;
constexpr uint64_t kMaxFileSize = std::numeric_limits<uint32_t>::max();

// BMP: file header, BITMAPINFOHEADER, 256 grey palette entries for 8-bit pictures.
constexpr uint32_t kBmpFileHeaderSize = 14;
constexpr uint32_t kBmpInfoHeaderSize = 40;
constexpr uint32_t kBmpPaletteEntries = 256;
constexpr uint32_t kBmpPaletteEntrySize = 4;
constexpr uint32_t kBmpRowAlignment = 4;
constexpr uint32_t kBmpPixelsPerMetre = 2835;  // 72 dots per inch

// TIFF: little-endian classic TIFF with one strip.
constexpr uint16_t kTiffShort = 3;
constexpr uint16_t kTiffLong = 4;
constexpr uint16_t kTiffRational = 5;
constexpr uint32_t kTiffHeaderSize = 8;
constexpr uint32_t kTiffEntrySize = 12;
constexpr uint32_t kTiffDotsPerInch = 72;
constexpr uint16_t kTiffNoCompression = 1;
constexpr uint16_t kTiffBlackIsZero = 1;
constexpr uint16_t kTiffRgb = 2;
constexpr uint16_t kTiffInch = 2;
constexpr uint16_t kTiffContiguous = 1;

// The picture to write: rows of `lineBytes` pixel bytes, `stride` apart.
struct Picture {
  const uint8_t* data;
  uint32_t width;
  uint32_t height;
  PvPixelType type;
  uint64_t lineBytes;
  uint64_t stride;
};

class Output {
 public:
  explicit Output(const std::string& path) : file_(std::fopen(path.c_str(), "wb")), path_(path) {
    if (file_ == nullptr) {
      error_ = Failure(PvResult::Code::CANNOT_OPEN_FILE, "Cannot open " + path + ": " + std::strerror(errno));
    }
  }
  ~Output() {
    if (file_ != nullptr) {
      std::fclose(file_);
    }
  }
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  void Bytes(const void* data, std::size_t size) {
    if (error_.IsOK() && size > 0 && std::fwrite(data, 1, size, file_) != size) {
      error_ = Failure(PvResult::Code::GENERIC_ERROR, "Cannot write " + path_ + ": " + std::strerror(errno));
    }
    written_ += size;
  }
  void U16(uint16_t value) {
    const std::array<uint8_t, 2> bytes = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
    Bytes(bytes.data(), bytes.size());
  }
  void U32(uint32_t value) {
    const std::array<uint8_t, 4> bytes = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                                          static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    Bytes(bytes.data(), bytes.size());
  }
  // Closes the file so that a failure to flush is reported too.
  PvResult Finish() {
    if (file_ != nullptr) {
      if (std::fclose(file_) != 0 && error_.IsOK()) {
        error_ = Failure(PvResult::Code::GENERIC_ERROR, "Cannot write " + path_ + ": " + std::strerror(errno));
      }
      file_ = nullptr;
    }
    return error_;
  }
  bool Ok() const { return error_.IsOK(); }
  uint64_t Written() const { return written_; }

 private:
  std::FILE* file_;
  std::string path_;
  PvResult error_;
  uint64_t written_ = 0;
};

bool IsRgbOrBgr8(PvPixelType type) { return type == PvPixelRGB8 || type == PvPixelBGR8; }

// One row in the byte order a file wants: BMP stores blue first, TIFF red first.
void CopyRow(const Picture& picture, uint32_t row, bool blueFirst, std::vector<uint8_t>& out) {
  const uint8_t* source = picture.data + picture.stride * row;
  std::memcpy(out.data(), source, picture.lineBytes);
  const bool sourceBlueFirst = picture.type == PvPixelBGR8;
  if (IsRgbOrBgr8(picture.type) && sourceBlueFirst != blueFirst) {
    for (uint64_t i = 0; i + 2 < picture.lineBytes; i += 3) {
      std::swap(out[i], out[i + 2]);
    }
  }
}

PvResult Unsupported(const char* format, PvPixelType type) {
  char code[sizeof("0x00000000")];
  std::snprintf(code, sizeof(code), "0x%08X", type);
  return Failure(
      PvResult::Code::NOT_SUPPORTED,
      std::string(format) + " holds Mono8, RGB8 and BGR8 pictures; pixel type " + code + " is not supported");
}

uint64_t BmpRowSize(const Picture& picture) {
  return (picture.lineBytes + kBmpRowAlignment - 1) / kBmpRowAlignment * kBmpRowAlignment;
}

uint32_t BmpDataOffset(const Picture& picture) {
  const uint32_t paletteSize = picture.type == PvPixelMono8 ? kBmpPaletteEntries * kBmpPaletteEntrySize : 0;
  return kBmpFileHeaderSize + kBmpInfoHeaderSize + paletteSize;
}

// TIFF layout: header, one directory, the bits per sample of colour pictures, the two
// resolutions, then the pixels.
constexpr uint16_t kTiffEntryCount = 13;
constexpr uint32_t kTiffIfdSize = 2 + kTiffEntryCount * kTiffEntrySize + 4;
constexpr uint32_t kTiffRationalSize = 8;

uint32_t TiffDataOffset(const Picture& picture) {
  const uint32_t bitsSize = picture.type == PvPixelMono8 ? 0 : 3 * 2;
  return kTiffHeaderSize + kTiffIfdSize + bitsSize + 2 * kTiffRationalSize;
}

// Whether the picture can be written in that format at all, before any file is touched.
PvResult CheckWritable(const Picture& picture, PvBufferFormatType type) {
  if (type == PvBufferFormatRaw) {
    return PvResult();
  }
  const char* format = type == PvBufferFormatBMP ? "BMP" : "TIFF";
  if (picture.type != PvPixelMono8 && !IsRgbOrBgr8(picture.type)) {
    return Unsupported(format, picture.type);
  }
  const uint64_t fileSize = type == PvBufferFormatBMP ? BmpDataOffset(picture) + BmpRowSize(picture) * picture.height
                                                      : TiffDataOffset(picture) + picture.lineBytes * picture.height;
  constexpr uint32_t kMaxDimension = std::numeric_limits<int32_t>::max();
  if (fileSize > kMaxFileSize || picture.width > kMaxDimension || picture.height > kMaxDimension) {
    return Failure(PvResult::Code::NOT_SUPPORTED, std::string("The picture is too large for a ") + format + " file");
  }
  return PvResult();
}

PvResult WriteBmp(const Picture& picture, Output& out) {
  const bool grey = picture.type == PvPixelMono8;
  const uint64_t rowSize = BmpRowSize(picture);
  const uint32_t dataOffset = BmpDataOffset(picture);
  const uint64_t fileSize = dataOffset + rowSize * picture.height;
  out.Bytes("BM", 2);
  out.U32(static_cast<uint32_t>(fileSize));
  out.U32(0);
  out.U32(dataOffset);
  out.U32(kBmpInfoHeaderSize);
  out.U32(picture.width);
  out.U32(picture.height);  // positive: rows run bottom-up
  out.U16(1);               // planes
  out.U16(grey ? 8 : 24);
  out.U32(0);  // no compression
  out.U32(static_cast<uint32_t>(rowSize * picture.height));
  out.U32(kBmpPixelsPerMetre);
  out.U32(kBmpPixelsPerMetre);
  out.U32(grey ? kBmpPaletteEntries : 0);
  out.U32(0);
  if (grey) {
    for (uint32_t level = 0; level < kBmpPaletteEntries; ++level) {
      const std::array<uint8_t, kBmpPaletteEntrySize> entry = {static_cast<uint8_t>(level), static_cast<uint8_t>(level),
                                                               static_cast<uint8_t>(level), 0};
      out.Bytes(entry.data(), entry.size());
    }
  }
  std::vector<uint8_t> row(rowSize, 0);
  for (uint32_t i = 0; i < picture.height && out.Ok(); ++i) {
    CopyRow(picture, picture.height - 1 - i, true, row);
    out.Bytes(row.data(), row.size());
  }
  return out.Finish();
}

struct TiffEntry {
  uint16_t tag;
  uint16_t type;
  uint32_t count;
  uint32_t value;  // the value itself when it fits, else the offset of the values
};

PvResult WriteTiff(const Picture& picture, Output& out) {
  const bool grey = picture.type == PvPixelMono8;
  const uint16_t samples = grey ? 1 : 3;
  const uint64_t pixelBytes = picture.lineBytes * picture.height;
  const uint32_t bitsOffset = kTiffHeaderSize + kTiffIfdSize;
  const uint32_t dataOffset = TiffDataOffset(picture);
  const uint32_t yResolutionOffset = dataOffset - kTiffRationalSize;
  const uint32_t xResolutionOffset = yResolutionOffset - kTiffRationalSize;
  // A SHORT value sits in the low half of the value field of a little-endian file.
  const std::array<TiffEntry, kTiffEntryCount> entries = {{
      {256, kTiffLong, 1, picture.width},
      {257, kTiffLong, 1, picture.height},
      {258, kTiffShort, samples, grey ? 8u : bitsOffset},
      {259, kTiffShort, 1, kTiffNoCompression},
      {262, kTiffShort, 1, grey ? kTiffBlackIsZero : kTiffRgb},
      {273, kTiffLong, 1, dataOffset},
      {277, kTiffShort, 1, samples},
      {278, kTiffLong, 1, picture.height},
      {279, kTiffLong, 1, static_cast<uint32_t>(pixelBytes)},
      {282, kTiffRational, 1, xResolutionOffset},
      {283, kTiffRational, 1, yResolutionOffset},
      {284, kTiffShort, 1, kTiffContiguous},
      {296, kTiffShort, 1, kTiffInch},
  }};
  out.Bytes("II", 2);
  out.U16(42);
  out.U32(kTiffHeaderSize);
  out.U16(kTiffEntryCount);
  for (const TiffEntry& entry : entries) {
    out.U16(entry.tag);
    out.U16(entry.type);
    out.U32(entry.count);
    out.U32(entry.value);
  }
  out.U32(0);  // no further directory
  for (uint16_t i = 0; !grey && i < samples; ++i) {
    out.U16(8);
  }
  out.U32(kTiffDotsPerInch);
  out.U32(1);
  out.U32(kTiffDotsPerInch);
  out.U32(1);
  std::vector<uint8_t> row(picture.lineBytes);
  for (uint32_t i = 0; i < picture.height && out.Ok(); ++i) {
    CopyRow(picture, i, false, row);
    out.Bytes(row.data(), row.size());
  }
  return out.Finish();
}

PvResult WriteRaw(const Picture& picture, Output& out) {
  for (uint32_t i = 0; i < picture.height && out.Ok(); ++i) {
    out.Bytes(picture.data + picture.stride * i, picture.lineBytes);
  }
  return out.Finish();
}

}  // namespace

PvBufferWriter::PvBufferWriter() = default;

PvBufferWriter::~PvBufferWriter() = default;

PvResult PvBufferWriter::Store(PvBuffer* buffer, const PvString& filename, PvBufferFormatType type,
                               uint32_t* bytesWritten) {
  if (bytesWritten != nullptr) {
    *bytesWritten = 0;
  }
  if (buffer == nullptr) {
    return Failure(PvResult::Code::INVALID_PARAMETER, "No buffer to store");
  }
  if (type != PvBufferFormatBMP && type != PvBufferFormatRaw && type != PvBufferFormatTIFF) {
    return Failure(PvResult::Code::INVALID_PARAMETER, "Unknown file format " + std::to_string(static_cast<int>(type)));
  }
  const PvImage* image = buffer->GetImage();
  if (image == nullptr) {
    return Failure(PvResult::Code::NOT_SUPPORTED, "The buffer holds no image");
  }
  const uint64_t bitsPerPixel = image->GetBitsPerPixel();
  Picture picture{image->GetDataPointer(), image->GetWidth(), image->GetHeight(), image->GetPixelType(), 0, 0};
  if (picture.data == nullptr || picture.width == 0 || picture.height == 0 || bitsPerPixel == 0) {
    return Failure(PvResult::Code::INVALID_PARAMETER, "The buffer's image holds no pixels");
  }
  picture.lineBytes = (picture.width * bitsPerPixel + kBitsPerByte - 1) / kBitsPerByte;
  picture.stride = picture.lineBytes + image->GetPaddingX();
  // Width, height and padding come from the camera: never read past the pixels that arrived.
  const uint64_t needed = picture.stride * (picture.height - 1) + picture.lineBytes;
  if (needed > image->GetImageSize()) {
    return Failure(PvResult::Code::INVALID_PARAMETER, "The image's " + std::to_string(image->GetImageSize()) +
                                                          " bytes cannot hold " + std::to_string(picture.width) +
                                                          " x " + std::to_string(picture.height) + " pixels");
  }
  PvResult result = CheckWritable(picture, type);
  if (result.IsFailure()) {
    return result;
  }
  const std::string path = filename.GetAscii();
  Output out(path);
  if (!out.Ok()) {
    return out.Finish();
  }
  if (type == PvBufferFormatBMP) {
    result = WriteBmp(picture, out);
  } else if (type == PvBufferFormatTIFF) {
    result = WriteTiff(picture, out);
  } else {
    result = WriteRaw(picture, out);
  }
  if (result.IsFailure()) {
    // A half-written file is not left behind as if it were a picture.
    std::remove(path.c_str());
    return result;
  }
  if (bytesWritten != nullptr) {
    *bytesWritten = static_cast<uint32_t>(out.Written());
  }
  return result;
}
