#include "driver/PageFilePath.h"

#include "driver/JobFileName.h"
#include "driver/WideText.h"
#include "util/Files.h"
#include "util/IniFile.h"
#include "util/Text.h"

#include <windows.h>

namespace velmo::driver {

namespace {

constexpr std::size_t documentControlNameLength = 17;
constexpr std::uint32_t redirectionCapacity = 1024 + 1;

// The page file a document's control file names; the file is used up by reading it.
std::string takeRedirection(const std::string& controlFile)
{
    if (util::fileSize(controlFile) < 1)
        return std::string();
    util::IniFile file;
    file.setFile(controlFile);
    std::string redirection;
    file.readString("config", "output", "", redirection, redirectionCapacity);
    util::deleteFileRetry(controlFile);
    return redirection;
}

}

std::wstring userPageFile()
{
    const std::wstring controlFile = makeJobFileName(L"INI");
    const std::wstring defaultPageFile = makeJobFileName(L"TIF");
    wchar_t pageFile[textCapacity] = {};
    GetPrivateProfileStringW(L"config", L"output", defaultPageFile.c_str(), pageFile, textCapacity,
                             controlFile.c_str());
    return pageFile;
}

std::wstring documentControlFileName(std::wstring_view documentName)
{
    const std::size_t nSlash = documentName.find_last_of(L'\\');
    std::wstring name(nSlash == std::wstring_view::npos ? documentName : documentName.substr(nSlash + 1));
    for (wchar_t& c : name) {
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    const std::size_t nDot = name.find_last_of(L'.');
    if (name.size() != documentControlNameLength || name[0] != L'Z' || nDot == std::wstring::npos)
        return std::wstring();
    return name.substr(0, nDot + 1) + L"CFG";
}

PageTarget DocumentPageFile::forPage(std::wstring_view documentName, std::wstring_view outputDir,
                                     bool bFirstPageOfJob, bool bAppend)
{
    if (bFirstPageOfJob)
        m_redirection.clear();
    const std::wstring controlName = documentControlFileName(documentName);
    if (!controlName.empty()) {
        // An empty output key redirects nowhere: the pages stay with the user's page file
        // rather than going to a nameless file in the spooler's current directory.
        std::string redirection =
            takeRedirection(util::text::narrow(std::wstring(outputDir) + L'\\' + controlName));
        if (!redirection.empty())
            m_redirection = std::move(redirection);
    }
    if (!m_redirection.empty())
        return {m_redirection, true};
    return {util::text::narrow(userPageFile()), bAppend};
}

}
