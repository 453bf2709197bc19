#ifndef VELMO_LIB_GRAPHICS_IOUTPUTGENERATOR_H
#define VELMO_LIB_GRAPHICS_IOUTPUTGENERATOR_H

#include "core/io.IStream.h"

namespace velmo::lib::graphics {

class TiffPageImage;

// A document writer that takes TIFF pages one by one: start (or appendStart), addTiffPage
// per page, finish. The output stream belongs to the caller.
class IOutputGenerator : public core::object::Object {
public:
    virtual const char* getMimeType() = 0;
    virtual core::io::IStream* getOutputStream() = 0;
    virtual core::io::IStream* setOutputStream(core::io::IStream* pOutput) = 0;
    virtual void start() = 0;
    virtual void appendStart() = 0;
    virtual void finish() = 0;
    virtual void addTiffPage(TiffPageImage& page) = 0;
};

}

#endif
