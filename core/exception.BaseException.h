#ifndef VELMO_CORE_EXCEPTION_BASEEXCEPTION_H
#define VELMO_CORE_EXCEPTION_BASEEXCEPTION_H

#include "core/String.h"
#include "core/collections.ObjectArray.h"
#include "core/exception.ErrorCode.h"
#include "core/exception.Location.h"

namespace velmo::core::exception {

// The library's one failure channel, thrown by value: a code of the error table, an
// internal code, two free texts, the raising location and named reference values.
class BaseException : public object::Object {
public:
    BaseException(const Location& location, std::int32_t nCode, std::int32_t nInternalCode,
                  const char* pszInternalInfo, const char* pszInternalExtendedInfo);
    BaseException(const BaseException& other);
    BaseException& operator=(const BaseException&) = delete;

    virtual const char* getTypeName() const;
    // The whole report; valid until the next call or the exception's end.
    const char* getReport();

    void addReference(const char* pszName, const char* pszValue);
    void addReference(const char* pszName, std::int32_t nValue);

    std::int32_t getCode() const { return m_nCode; }
    std::int32_t getInternalCode() const { return m_nInternalCode; }
    const String& getInternalInfo() const { return m_internalInfo; }
    const String& getInternalExtendedInfo() const { return m_internalExtendedInfo; }
    const collections::ObjectArray<String>& getStackTrace() const { return m_stackTrace; }

    // The location text: signature, build date, source name, " : ", line.
    static void formatLocation(const Location& location, String& out);

private:
    std::int32_t m_nCode;
    std::int32_t m_nInternalCode;
    String m_internalInfo;
    String m_internalExtendedInfo;
    collections::ObjectArray<String> m_stackTrace;
    collections::ObjectArray<String> m_referenceNames;
    collections::ObjectArray<String> m_referenceValues;
    String m_report;
};

}

#endif
