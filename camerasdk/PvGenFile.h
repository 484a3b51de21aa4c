#pragma once
// GenICam file access through the standard File* features of a device's node map: open a
// camera file, write into it, read the camera's status of the last operation, close it.

#include <cstdint>
#include <string>

#include "camerasdk/PvGenParameterArray.h"
#include "camerasdk/PvGenTypes.h"
#include "camerasdk/PvResult.h"
#include "camerasdk/PvString.h"
#include "camerasdk/PvStringList.h"

class PvGenEnum;
class PvGenInteger;
class PvGenCommand;
class PvGenRegister;

class PvGenFile {
 public:
  PvGenFile();
  ~PvGenFile();
  PvGenFile(const PvGenFile&) = delete;
  PvGenFile& operator=(const PvGenFile&) = delete;

  // A failed result means the operation could not be carried out; what the camera made of it
  // is its status ("Success", "Failure", ...), read with GetStatus.
  PvResult Open(PvGenParameterArray* parameters, const PvString& fileName, PvGenOpenMode mode);
  // Writes in chunks of the camera's transfer buffer; stops at the first chunk the camera does
  // not take, with `written` counting the bytes it took. A stop request (util/stop_request.h)
  // ends it between two chunks with ABORTED.
  PvResult Write(const uint8_t* buffer, int64_t length, int64_t& written);
  PvResult Close();
  PvResult GetStatus(PvString& status) const;
  // Bytes done and bytes asked for in the last Write.
  PvResult GetProgress(int64_t& completed, int64_t& total) const;

  bool IsWritable(PvGenParameterArray* parameters, const PvString& fileName);
  bool IsReadable(PvGenParameterArray* parameters, const PvString& fileName);
  bool IsSupported(PvGenParameterArray* parameters);
  PvResult GetFiles(PvGenParameterArray* parameters, PvStringList& files);

 private:
  struct Nodes {
    PvGenEnum* selector = nullptr;
    PvGenEnum* operation = nullptr;
    PvGenEnum* openMode = nullptr;
    PvGenCommand* execute = nullptr;
    PvGenEnum* status = nullptr;
    PvGenInteger* result = nullptr;
    PvGenInteger* offset = nullptr;
    PvGenInteger* length = nullptr;
    PvGenRegister* buffer = nullptr;
  };
  static PvResult FindNodes(PvGenParameterArray* parameters, Nodes& nodes);
  // Whether the camera offers `access` ("Read" or "Write") on the file.
  bool Offers(PvGenParameterArray* parameters, const PvString& fileName, const char* access);
  PvResult SelectOperation(const char* operation);
  PvResult ExecuteAndWait();

  Nodes nodes_;
  bool open_ = false;
  std::string operation_;
  // Values last written, so that unchanged ones cost no round trip.
  int64_t written_offset_ = -1;
  int64_t written_length_ = -1;
  int64_t buffer_length_ = 0;
  int64_t success_value_ = 0;
  int64_t file_offset_ = 0;
  int64_t completed_ = 0;
  int64_t total_ = 0;
};
