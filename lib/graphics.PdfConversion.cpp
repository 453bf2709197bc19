#include "lib/graphics.Conversion.h"

#include "core/String.h"
#include "core/exception.BaseException.h"
#include "core/io.FileStream.h"
#include "lib/graphics.PdfOutputGenerator.h"
#include "lib/graphics.TiffBundler.h"

namespace velmo::lib::graphics {

std::int32_t convertToPdf(const char* pszInputPath, const char* pszPageList, const char* pszOutputPath,
                          const char* pszFileId, const char* pszOwnerPassword, const char* pszUserPassword,
                          std::int32_t nPermissions, std::int32_t nKeyLengthFlag, double dOpenZoom,
                          core::String* pErrorReport)
{
    try {
        PdfOutputGenerator generator;
        generator.setDocumentInfo("", "", dOpenZoom);
        const char* pszIdentifier = core::String::isEmpty(pszFileId) ? kDefaultPdfFileId : pszFileId;
        if (!core::String::isEmpty(pszOwnerPassword) || !core::String::isEmpty(pszUserPassword)) {
            generator.secureOutput(reinterpret_cast<const unsigned char*>(pszIdentifier), core::String::getLength(pszIdentifier),
                                   reinterpret_cast<const unsigned char*>(pszOwnerPassword), core::String::getLength(pszOwnerPassword),
                                   reinterpret_cast<const unsigned char*>(pszUserPassword), core::String::getLength(pszUserPassword),
                                   nPermissions, nKeyLengthFlag >= 1);
        }
        TiffBundler bundler;
        bundler.setOutputGenerator(&generator);
        core::io::FileStream output;
        output.create(pszOutputPath, true);
        bundler.setOutputStream(&output, true, 4096);
        bundler.start(false);
        core::io::FileStream input;
        input.open(pszInputPath, false);
        core::collections::SimpleTypeArray<std::int32_t> pages;
        bundler.setInputStream(&input);
        bundler.setPageList(TiffBundler::parsePageList(pszPageList, pages));
        bundler.generate();
        input.close();
        bundler.finish();
        output.close();
        return 0;
    } catch (core::exception::BaseException& error) {
        if (pErrorReport)
            *pErrorReport = error.getReport();
        return kConvertToPdfLibraryError;
    } catch (...) {
        return kConvertToPdfOtherError;
    }
}

}
