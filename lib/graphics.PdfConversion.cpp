#include "lib/graphics.Conversion.h"

#include "core/String.h"
#include "lib/graphics.ConversionGuard.h"
#include "lib/graphics.ConversionOutput.h"
#include "lib/graphics.PdfOutputGenerator.h"
#include "lib/graphics.TiffBundler.h"

namespace velmo::lib::graphics {

std::int32_t convertToPdf(const char* pszInputPath, const char* pszPageList, const char* pszOutputPath,
                          const char* pszFileId, const char* pszOwnerPassword, const char* pszUserPassword,
                          std::int32_t nPermissions, std::int32_t nKeyLengthFlag, double dOpenZoom,
                          core::String* pErrorReport)
{
    return guardConversion(kConvertToPdfLibraryError, kConvertToPdfOtherError, pErrorReport, [&] {
        PdfOutputGenerator generator;
        generator.setDocumentInfo("", "", dOpenZoom);
        const char* pszIdentifier = core::String::isEmpty(pszFileId) ? kDefaultPdfFileId : pszFileId;
        if (!core::String::isEmpty(pszOwnerPassword) || !core::String::isEmpty(pszUserPassword)) {
            generator.secureOutput(reinterpret_cast<const unsigned char*>(pszIdentifier), core::String::getLength(pszIdentifier),
                                   reinterpret_cast<const unsigned char*>(pszOwnerPassword), core::String::getLength(pszOwnerPassword),
                                   reinterpret_cast<const unsigned char*>(pszUserPassword), core::String::getLength(pszUserPassword),
                                   nPermissions, nKeyLengthFlag >= 1);
        }
        ConversionOutput output(pszInputPath, pszOutputPath, false);
        TiffBundler::bundleFile(generator, output.getStream(), false, pszInputPath, pszPageList);
        output.keep();
    });
}

}
