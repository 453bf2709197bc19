#include "tools/printhost/StepLog.h"

#include <utility>

namespace velmo::tools::printhost {

StepLog::StepLog(std::FILE* pFile) : m_pOutput(std::make_shared<Output>(pFile)) {}

StepLog::StepLog(std::shared_ptr<Output> pOutput, std::string heading)
    : m_pOutput(std::move(pOutput)), m_heading(std::move(heading))
{
}

StepLog StepLog::headedBy(const std::string& heading) const
{
    return StepLog(m_pOutput, heading);
}

bool StepLog::report(const char* pszStep, bool bSuccess, const std::string& detail) const
{
    std::lock_guard<std::mutex> guard(m_pOutput->lock);
    std::fprintf(m_pOutput->pFile, "%s%-20s %s%s%s\n", m_heading.c_str(), pszStep, bSuccess ? "ok" : "FAILED",
                 detail.empty() ? "" : ": ", detail.c_str());
    std::fflush(m_pOutput->pFile);
    return bSuccess;
}

}
