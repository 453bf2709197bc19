#include "core/exception.BaseException.h"

#include <cstring>

namespace velmo::core::exception {

namespace {

void copyTexts(const collections::ObjectArray<String>& source, collections::ObjectArray<String>& target)
{
    for (std::int32_t i = 0; i < source.getCount(); ++i)
        *target.addNew() = *source.getItem(i);
}

}

BaseException::BaseException(const Location& location, std::int32_t nCode, std::int32_t nInternalCode,
                             const char* pszInternalInfo, const char* pszInternalExtendedInfo)
    : m_nCode(nCode), m_nInternalCode(nInternalCode), m_internalInfo(pszInternalInfo),
      m_internalExtendedInfo(pszInternalExtendedInfo)
{
    formatLocation(location, *m_stackTrace.addNew());
}

BaseException::BaseException(const BaseException& other)
    : object::Object(other), m_nCode(other.m_nCode), m_nInternalCode(other.m_nInternalCode),
      m_internalInfo(other.m_internalInfo), m_internalExtendedInfo(other.m_internalExtendedInfo),
      m_report(other.m_report)
{
    copyTexts(other.m_stackTrace, m_stackTrace);
    copyTexts(other.m_referenceNames, m_referenceNames);
    copyTexts(other.m_referenceValues, m_referenceValues);
}

const char* BaseException::getTypeName() const
{
    return "velmo.core.exception.BaseException";
}

void BaseException::addReference(const char* pszName, const char* pszValue)
{
    *m_referenceNames.addNew() = pszName;
    *m_referenceValues.addNew() = pszValue;
}

void BaseException::addReference(const char* pszName, std::int32_t nValue)
{
    *m_referenceNames.addNew() = pszName;
    m_referenceValues.addNew()->assign(nValue);
}

const char* BaseException::getReport()
{
    m_report = "";
    m_report.append(">>type [").append(getTypeName()).append("]\r\n");
    m_report.append(">>code [").append(m_nCode).append("]\r\n");
    m_report.append(">>info\r\n\r\n").append(getErrorCodeName(m_nCode)).append("\r\n\r\n");
    m_report.append(">>internal code [").append(m_nInternalCode).append("]\r\n");
    m_report.append(">>internal info\r\n\r\n").append(m_internalInfo).append("\r\n\r\n");
    m_report.append(">>internal extended info\r\n\r\n").append(m_internalExtendedInfo).append("\r\n\r\n");
    m_report.append(">>stack trace\r\n\r\n");
    for (std::int32_t i = m_stackTrace.getCount() - 1; i >= 0; --i)
        m_report.append(*m_stackTrace.getItem(i)).append("\r\n");
    m_report.append("\r\n");
    m_report.append(">>references\r\n\r\n");
    for (std::int32_t i = 0; i < m_referenceNames.getCount(); ++i) {
        m_report.append(*m_referenceNames.getItem(i)).append(" [");
        m_report.append(*m_referenceValues.getItem(i)).append("]\r\n");
    }
    m_report.append("\r\n");
    return m_report.getBuffer();
}

void BaseException::formatLocation(const Location& location, String& out)
{
    // The source name is the file's folder and its name without extension: backslash
    // form for sources, slash form for the header templates.
    const char* pszFile = location.pszFile ? location.pszFile : "";
    const char* pszName = pszFile;
    const char* pszFolder = pszFile;
    for (const char* p = pszFile; *p; ++p) {
        if (*p == '/' || *p == '\\') {
            pszFolder = pszName;
            pszName = p + 1;
        }
    }
    const char* pszExtension = std::strrchr(pszName, '.');
    std::int32_t nNameLength = static_cast<std::int32_t>(pszExtension ? pszExtension - pszName : std::strlen(pszName));
    bool bHeader = pszExtension && std::strcmp(pszExtension, ".h") == 0;

    out = location.pszFunction;
    out.append(' ').append(location.pszDate).append(' ');
    if (pszFolder != pszName) {
        out.append(pszFolder, static_cast<std::int32_t>(pszName - 1 - pszFolder));
        out.append(bHeader ? '/' : '\\');
    }
    out.append(pszName, nNameLength).append(" : ").append(static_cast<std::int32_t>(location.nLine));
}

}
