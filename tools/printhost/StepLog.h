#ifndef VELMO_TOOLS_PRINTHOST_STEPLOG_H
#define VELMO_TOOLS_PRINTHOST_STEPLOG_H

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

namespace velmo::tools::printhost {

// The print host's report: one line per step with its result. Jobs printing at once on
// several threads share one report; each line is written whole, headed by its job.
class StepLog {
public:
    explicit StepLog(std::FILE* pFile);

    // The same report, every line headed by the text (e.g. "job 2: ").
    StepLog headedBy(const std::string& heading) const;
    // Writes the step's line; answers bSuccess.
    bool report(const char* pszStep, bool bSuccess, const std::string& detail = std::string()) const;

private:
    struct Output {
        explicit Output(std::FILE* pFile) : pFile(pFile) {}
        std::FILE* pFile;
        std::mutex lock;
    };

    StepLog(std::shared_ptr<Output> pOutput, std::string heading);

    std::shared_ptr<Output> m_pOutput;
    std::string m_heading;
};

}

#endif
