#include "lib/graphics.Conversion.h"

#include "core/String.h"
#include "lib/graphics.ConversionGuard.h"
#include "lib/graphics.ConversionOutput.h"
#include "lib/graphics.CropPadFilter.h"
#include "lib/graphics.HeaderModificationFilter.h"
#include "lib/graphics.ScanLineFillFilter.h"
#include "lib/graphics.TiffBundler.h"
#include "lib/graphics.TiffOutputGenerator.h"

namespace velmo::lib::graphics {

std::int32_t convertToTiff(const char* pszInputPath, const char* pszPageList, const char* pszOutputPath,
                           std::int32_t nPixelWidth, std::int32_t nPixelHeight, std::int32_t nXResolution,
                           std::int32_t nYResolution, std::int32_t nOutputCompression, std::int32_t nFillLines,
                           std::int32_t nForceRecode, core::String* pErrorReport)
{
    return guardConversion(kConvertToTiffLibraryError, kConvertToTiffOtherError, pErrorReport, [&] {
        TiffOutputGenerator generator;
        generator.configure(nOutputCompression, nForceRecode != 0, true, 32768);

        // Header changes first; then data flows decoder -> line fill -> crop/pad -> encoder.
        HeaderModificationFilter resolution;
        if (nXResolution > 0)
            resolution.setXResolution(nXResolution, 1);
        if (nYResolution > 0)
            resolution.setYResolution(nYResolution, 1);
        if (nXResolution > 0 || nYResolution > 0)
            generator.addFilter(&resolution);
        ScanLineFillFilter fill;
        if (nFillLines > 0) {
            fill.setFillLineCount(1);
            generator.addFilter(&fill);
        }
        CropPadFilter cropPad;
        if (nPixelWidth > 0 || nPixelHeight > 0) {
            cropPad.setPadWhite(false);
            if (nPixelWidth > 0)
                cropPad.setPixelWidth(nPixelWidth, 2);
            if (nPixelHeight > 0)
                cropPad.setPixelHeight(nPixelHeight, 2);
            generator.addFilter(&cropPad);
        }

        ConversionOutput output(pszInputPath, pszOutputPath, true);
        TiffBundler::bundleFile(generator, output.getStream(), output.holdsEarlierData(), pszInputPath, pszPageList);
        output.keep();
    });
}

}
