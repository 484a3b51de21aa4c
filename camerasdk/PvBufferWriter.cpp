// BMP, TIFF and raw files from the pictures of buffers.
#include "camerasdk/PvBufferWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <tiffio.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "camerasdk/arv_support.h"
#include "camerasdk/picture_lines.h"

using camerasdk_detail::Failure;
using camerasdk_detail::Picture;
using camerasdk_detail::PictureLines;
using camerasdk_detail::SampleDepth;

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

// TIFF: classic TIFF in the host's byte order, as libtiff writes it, in strips of about this size.
constexpr uint64_t kTiffStripBytes = 512 * 1024;
// Room for the header, the directory and two strip tables next to the pixels.
constexpr uint64_t kTiffDirectoryAllowance = 4096;
constexpr uint64_t kTiffStripTableBytesPerStrip = 8;
constexpr double kTiffDotsPerInch = 72.0;

PvResult CannotOpen(const std::string& path) {
  return Failure(PvResult::Code::CANNOT_OPEN_FILE, "Cannot open " + path + ": " + std::strerror(errno));
}

// Lines are a few kilobytes; writing them in large blocks saves most of the system calls.
constexpr std::size_t kOutputBufferSize = 256 * 1024;

class Output {
 public:
  explicit Output(const std::string& path)
      : buffer_(kOutputBufferSize), file_(std::fopen(path.c_str(), "wb")), path_(path) {
    if (file_ == nullptr) {
      error_ = CannotOpen(path);
    } else {
      // glibc ignores the size unless it is given the buffer too.
      std::setvbuf(file_, buffer_.data(), _IOFBF, buffer_.size());
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
  std::vector<char> buffer_;  // outlives the file, which is closed before the members go
  std::FILE* file_;
  std::string path_;
  PvResult error_;
  uint64_t written_ = 0;
};

PvResult CannotWrite(const std::string& path, const std::string& why) {
  return Failure(PvResult::Code::GENERIC_ERROR, "Cannot write " + path + ": " + why);
}

PvResult Unsupported(const char* format, PvPixelType type) {
  char code[sizeof("0x00000000")];
  std::snprintf(code, sizeof(code), "0x%08X", type);
  return Failure(PvResult::Code::NOT_SUPPORTED,
                 std::string(format) + " holds unpacked Mono and Bayer pictures of 8 to 16 bits, RGB8 and BGR8; " +
                     "pixel type " + code + " is not supported");
}

PvResult TooLarge(const char* format) {
  return Failure(PvResult::Code::NOT_SUPPORTED, std::string("The picture is too large for a ") + format + " file");
}

uint64_t BmpRowSize(const PictureLines& lines) {
  return (lines.LineBytes() + kBmpRowAlignment - 1) / kBmpRowAlignment * kBmpRowAlignment;
}

bool BmpHasPalette(const PictureLines& lines) { return lines.SamplesPerPixel() == 1; }

uint32_t BmpDataOffset(const PictureLines& lines) {
  const uint32_t paletteSize = BmpHasPalette(lines) ? kBmpPaletteEntries * kBmpPaletteEntrySize : 0;
  return kBmpFileHeaderSize + kBmpInfoHeaderSize + paletteSize;
}

uint64_t TiffRowsPerStrip(const PictureLines& lines) {
  return std::max<uint64_t>(1, kTiffStripBytes / lines.LineBytes());
}

// Whether the file stays within the 32-bit sizes and offsets of BMP and classic TIFF, before
// any file is touched.
PvResult CheckSize(const Picture& picture, const PictureLines& lines, PvBufferFormatType type) {
  uint64_t fileSize = 0;
  if (type == PvBufferFormatBMP) {
    fileSize = BmpDataOffset(lines) + BmpRowSize(lines) * picture.height;
  } else {
    const uint64_t strips = (picture.height + TiffRowsPerStrip(lines) - 1) / TiffRowsPerStrip(lines);
    fileSize = lines.LineBytes() * picture.height + strips * kTiffStripTableBytesPerStrip + kTiffDirectoryAllowance;
  }
  constexpr uint32_t kMaxDimension = std::numeric_limits<int32_t>::max();
  if (fileSize > kMaxFileSize || picture.width > kMaxDimension || picture.height > kMaxDimension) {
    return TooLarge(type == PvBufferFormatBMP ? "BMP" : "TIFF");
  }
  return PvResult();
}

PvResult WriteBmp(const Picture& picture, PictureLines& lines, Output& out) {
  const bool grey = BmpHasPalette(lines);
  const uint64_t rowSize = BmpRowSize(lines);
  const uint32_t dataOffset = BmpDataOffset(lines);
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
  const std::array<uint8_t, kBmpRowAlignment> rowEnd = {};
  for (uint32_t i = 0; i < picture.height && out.Ok(); ++i) {
    out.Bytes(lines.Line(picture.height - 1 - i), lines.LineBytes());
    out.Bytes(rowEnd.data(), rowSize - lines.LineBytes());
  }
  return out.Finish();
}

// libtiff's messages become the failure's description instead of lines on stderr.
int KeepFirstTiffError(TIFF* /*tiff*/, void* userData, const char* module, const char* format, va_list args) {
  auto* problem = static_cast<std::string*>(userData);
  if (problem->empty()) {
    std::array<char, 512> text{};
    std::vsnprintf(text.data(), text.size(), format, args);
    *problem = std::string(module != nullptr ? module : "libtiff") + ": " + text.data();
  }
  return 1;  // handled: libtiff's global handler stays silent
}

int IgnoreTiffWarning(TIFF* /*tiff*/, void* /*userData*/, const char* /*module*/, const char* /*format*/,
                      va_list /*args*/) {
  return 1;
}

struct TiffCloser {
  void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};

PvResult WriteTiff(const Picture& picture, PictureLines& lines, const std::string& path, uint64_t& written) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) {
    return CannotOpen(path);
  }
  std::string problem;
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  TIFFOpenOptionsSetErrorHandlerExtR(options, KeepFirstTiffError, &problem);
  TIFFOpenOptionsSetWarningHandlerExtR(options, IgnoreTiffWarning, nullptr);
  // libtiff closes the descriptor with the TIFF.
  std::unique_ptr<TIFF, TiffCloser> tiff(TIFFFdOpenExt(fd, path.c_str(), "w", options));
  TIFFOpenOptionsFree(options);
  if (tiff == nullptr) {
    ::close(fd);
    return CannotWrite(path, problem);
  }
  const bool colour = lines.SamplesPerPixel() > 1;
  const bool fieldsSet =
      TIFFSetField(tiff.get(), TIFFTAG_IMAGEWIDTH, picture.width) == 1 &&
      TIFFSetField(tiff.get(), TIFFTAG_IMAGELENGTH, picture.height) == 1 &&
      TIFFSetField(tiff.get(), TIFFTAG_BITSPERSAMPLE, lines.BitsPerSample()) == 1 &&
      TIFFSetField(tiff.get(), TIFFTAG_SAMPLESPERPIXEL, lines.SamplesPerPixel()) == 1 &&
      TIFFSetField(tiff.get(), TIFFTAG_COMPRESSION, COMPRESSION_NONE) == 1 &&
      TIFFSetField(tiff.get(), TIFFTAG_PHOTOMETRIC, colour ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK) == 1 &&
      TIFFSetField(tiff.get(), TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) == 1 &&
      TIFFSetField(tiff.get(), TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(TiffRowsPerStrip(lines))) == 1 &&
      TIFFSetField(tiff.get(), TIFFTAG_XRESOLUTION, kTiffDotsPerInch) == 1 &&
      TIFFSetField(tiff.get(), TIFFTAG_YRESOLUTION, kTiffDotsPerInch) == 1 &&
      TIFFSetField(tiff.get(), TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH) == 1;
  bool ok = fieldsSet;
  for (uint32_t y = 0; y < picture.height && ok; ++y) {
    // Written in the host's byte order without compression, libtiff copies the line as it is.
    ok = TIFFWriteScanline(tiff.get(), const_cast<uint8_t*>(lines.Line(y)), y, 0) == 1;
  }
  // Flushing writes the directory; closing could fail only silently.
  ok = ok && TIFFFlush(tiff.get()) == 1;
  struct stat status {};
  if (ok && ::fstat(fd, &status) == 0) {
    written = static_cast<uint64_t>(status.st_size);
  }
  return ok ? PvResult() : CannotWrite(path, problem.empty() ? "libtiff failed" : problem);
}

PvResult WriteRaw(const Picture& picture, Output& out) {
  for (uint32_t i = 0; i < picture.height && out.Ok(); ++i) {
    out.Bytes(picture.data + picture.stride * i, picture.lineBytes);
  }
  return out.Finish();
}

PvResult Conclude(const PvResult& result, const std::string& path, uint64_t written, uint32_t* bytesWritten) {
  if (result.IsFailure()) {
    // A half-written file is not left behind as if it were a picture. A path that could not be
    // opened, or that names no regular file (a device, a pipe), is left alone.
    std::error_code ignored;
    if (result.GetCode() != PvResult::Code::CANNOT_OPEN_FILE && std::filesystem::is_regular_file(path, ignored)) {
      std::remove(path.c_str());
    }
    return result;
  }
  if (bytesWritten != nullptr) {
    *bytesWritten = static_cast<uint32_t>(written);
  }
  return result;
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
  const std::string path = filename.GetAscii();
  if (type == PvBufferFormatRaw) {
    Output out(path);
    const PvResult stored = WriteRaw(picture, out);
    return Conclude(stored, path, out.Written(), bytesWritten);
  }
  // BMP wants 8-bit samples, blue first; TIFF keeps deeper samples as they are, red first.
  const bool bmp = type == PvBufferFormatBMP;
  std::optional<PictureLines> lines =
      PictureLines::Create(picture, bmp ? SampleDepth::Eight : SampleDepth::Source, bmp);
  if (!lines) {
    return Unsupported(bmp ? "BMP" : "TIFF", picture.type);
  }
  const PvResult result = CheckSize(picture, *lines, type);
  if (result.IsFailure()) {
    return result;
  }
  if (bmp) {
    Output out(path);
    const PvResult stored = WriteBmp(picture, *lines, out);
    return Conclude(stored, path, out.Written(), bytesWritten);
  }
  uint64_t written = 0;
  const PvResult stored = WriteTiff(picture, *lines, path, written);
  return Conclude(stored, path, written, bytesWritten);
}
