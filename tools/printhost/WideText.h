#ifndef VELMO_TOOLS_PRINTHOST_WIDETEXT_H
#define VELMO_TOOLS_PRINTHOST_WIDETEXT_H

#include <string>

namespace velmo::tools::printhost {

// The text in the process's code page, for the report and for file names.
std::string narrow(const std::wstring& text);

}

#endif
