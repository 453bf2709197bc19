#include "driver/JobInformation.h"

#include <algorithm>

namespace velmo::driver {

namespace {

std::string oneLine(std::string text)
{
    std::replace_if(
        text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }, ' ');
    return text;
}

}

std::string formatJobInformation(const JobInformation& information)
{
    return "[info]\r\nsubmitted=" + oneLine(information.submitted) +
           "\r\nprintJobId=" + std::to_string(information.jobId) +
           "\r\nprinterName=" + oneLine(information.printerName) +
           "\r\nmachineName=" + oneLine(information.machineName) +
           "\r\nuserName=" + oneLine(information.userName) +
           "\r\ndocument=" + oneLine(information.document) +
           "\r\ndataType=RAW\r\nstatus=" + std::to_string(information.status) +
           "\r\npriority=0\r\nposition=0\r\ntotalPages=" + std::to_string(information.pageCount) +
           "\r\npagesPrinted=" + std::to_string(information.pagesWritten) + "\r\n\r\n";
}

}
