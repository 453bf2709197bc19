#include "lib/graphics.ConversionOutput.h"

#include "core/exception.BaseException.h"
#include "core/os/Os.h"

namespace velmo::lib::graphics {

using core::exception::BaseException;

ConversionOutput::ConversionOutput(const char* pszInputPath, const char* pszOutputPath, bool bExtend)
    : m_path(pszOutputPath)
{
    // Writing into the file being read would read back what was just written.
    if (core::os::isSameFile(pszInputPath, pszOutputPath))
        throw BaseException(VELMO_LOCATION, core::exception::invalidOperation, 0, "the output file is the input file",
                            pszOutputPath);
    m_bExtending = bExtend && core::os::fileExists(pszOutputPath);
    if (!m_bExtending) {
        m_stream.create(pszOutputPath, false);
        return;
    }
    m_stream.open(pszOutputPath, true);
    // A file stream cannot tell a position of 4 GB or more, nor cut the file back to it.
    if (!m_stream.seek(0, core::io::IStream::seekEnd) || m_stream.getPosition() == core::os::kInvalidFilePointer)
        throw BaseException(VELMO_LOCATION, core::exception::maximumLengthExceeded, 0, "file length", pszOutputPath);
    m_nEarlierLength = m_stream.getPosition();
    m_stream.seek(0, core::io::IStream::seekBegin);
}

ConversionOutput::~ConversionOutput()
{
    m_stream.close();
    if (m_bKept)
        return;
    // Best effort: what the caller hears about is the failure of the conversion itself.
    try {
        if (m_bExtending) {
            core::io::File file;
            file.open(m_path.getBuffer(), true);
            file.setLength(m_nEarlierLength);
        } else {
            core::os::deleteFile(m_path.getBuffer());
        }
    } catch (...) {
    }
}

}
