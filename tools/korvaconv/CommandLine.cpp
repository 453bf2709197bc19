#include "CommandLine.h"

#include <cerrno>
#include <cstdlib>

namespace velmo::tools {

CommandLine::CommandLine(const std::vector<std::string>& words, const std::set<std::string>& valueOptions,
                         const std::set<std::string>& flags)
{
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.size() < 3 || word.compare(0, 2, "--") != 0) {
            m_positional.push_back(word);
            continue;
        }
        std::string name = word.substr(2);
        if (flags.count(name)) {
            m_values[name] = "";
        } else if (valueOptions.count(name)) {
            if (i + 1 >= words.size())
                throw UsageError("option " + word + " needs a value");
            m_values[name] = words[++i];
        } else {
            throw UsageError("unknown option " + word);
        }
    }
}

bool CommandLine::has(const std::string& name) const
{
    return m_values.count(name) != 0;
}

std::string CommandLine::text(const std::string& name, const std::string& fallback) const
{
    auto found = m_values.find(name);
    return found == m_values.end() ? fallback : found->second;
}

std::int32_t CommandLine::integer(const std::string& name, std::int32_t nFallback) const
{
    if (!has(name))
        return nFallback;
    const std::string& value = m_values.at(name);
    char* pEnd = nullptr;
    errno = 0;
    long nValue = std::strtol(value.c_str(), &pEnd, 10);
    if (value.empty() || *pEnd != 0 || errno == ERANGE || nValue < INT32_MIN || nValue > INT32_MAX)
        throw UsageError("--" + name + " takes a whole number, not \"" + value + "\"");
    return static_cast<std::int32_t>(nValue);
}

double CommandLine::number(const std::string& name, double dFallback) const
{
    if (!has(name))
        return dFallback;
    const std::string& value = m_values.at(name);
    char* pEnd = nullptr;
    double dValue = std::strtod(value.c_str(), &pEnd);
    if (value.empty() || *pEnd != 0)
        throw UsageError("--" + name + " takes a number, not \"" + value + "\"");
    return dValue;
}

std::int32_t CommandLine::choice(const std::string& name, std::int32_t nFallback, const std::set<std::int32_t>& choices) const
{
    std::int32_t nValue = integer(name, nFallback);
    if (!choices.count(nValue))
        throw UsageError("--" + name + " does not take " + std::to_string(nValue));
    return nValue;
}

}
