// TIF and RAW swap places between the two numberings.
#include "sdkadaptor/src/buffer_format_converter.h"

namespace quarx::sdkadaptor {

const std::unordered_map<BufferFormatType, PvBufferFormatType> BufferFormatConverter::convert_tables = {
    {BufferFormatType::BMP, PvBufferFormatBMP},
    {BufferFormatType::TIF, PvBufferFormatTIFF},
    {BufferFormatType::RAW, PvBufferFormatRaw},
};

PvBufferFormatType BufferFormatConverter::ConvertTo(BufferFormatType format) { return convert_tables.at(format); }

}  // namespace quarx::sdkadaptor
