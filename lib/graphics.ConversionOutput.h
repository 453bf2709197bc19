#ifndef VELMO_LIB_GRAPHICS_CONVERSIONOUTPUT_H
#define VELMO_LIB_GRAPHICS_CONVERSIONOUTPUT_H

#include "core/String.h"
#include "core/io.FileStream.h"

#include <cstdint>

namespace velmo::lib::graphics {

// The output file of a conversion, which stays only when the conversion gets through.
// An output that is the input file, under whatever name, is refused (invalidOperation)
// before either is opened. When the conversion fails, a file it made is deleted and a file
// it extended is cut back to its old length, so no half-written result is left behind.
class ConversionOutput {
public:
    // bExtend: an existing output is kept and written on behind its end; otherwise it is
    // replaced.
    ConversionOutput(const char* pszInputPath, const char* pszOutputPath, bool bExtend);
    ~ConversionOutput();
    ConversionOutput(const ConversionOutput&) = delete;
    ConversionOutput& operator=(const ConversionOutput&) = delete;

    core::io::FileStream& getStream() { return m_stream; }
    // Whether the output holds earlier data that the conversion goes on from.
    bool holdsEarlierData() const { return m_nEarlierLength > 0; }
    // The conversion got through: the output stays as written.
    void keep() { m_bKept = true; }

private:
    core::String m_path;
    core::io::FileStream m_stream;
    bool m_bExtending = false;
    std::uint32_t m_nEarlierLength = 0;
    bool m_bKept = false;
};

}

#endif
