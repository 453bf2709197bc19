#ifndef VELMO_DRIVER_PAGEFILEPATH_H
#define VELMO_DRIVER_PAGEFILEPATH_H

#include "driver/JobPageFiles.h"

#include <string>
#include <string_view>

namespace velmo::driver {

// The page file the calling user's pages go to: the control file's output key, else the
// "TIF" job file name.
std::wstring userPageFile();

// The file name of the control file a client leaves for one document: a document whose
// name (after its last backslash, ASCII letters upper-cased) is 17 characters long and
// begins with 'Z' has one, named like the document with the extension "CFG". Empty for any
// other document.
std::wstring documentControlFileName(std::wstring_view documentName);

// Where the pages of the current document go. A document's control file is read and
// deleted at its first page; the page file it names then collects every page of the
// document. Other pages go to the user's page file: added to it with bAppend, else
// replacing it.
class DocumentPageFile {
public:
    PageTarget forPage(std::wstring_view documentName, std::wstring_view outputDir, bool bFirstPageOfJob,
                       bool bAppend);

private:
    std::string m_redirection;
};

}

#endif
