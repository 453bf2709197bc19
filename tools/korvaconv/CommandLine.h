#ifndef VELMO_TOOLS_KORVACONV_COMMANDLINE_H
#define VELMO_TOOLS_KORVACONV_COMMANDLINE_H

#include <cstdint>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmo::tools {

// A usage error: the message is printed with the usage text, and the tool exits with 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The words of one command: positional arguments, "--name value" options and "--flag"
// switches, each name checked against what the command knows.
class CommandLine {
public:
    CommandLine(const std::vector<std::string>& words, const std::set<std::string>& valueOptions,
                const std::set<std::string>& flags);

    const std::vector<std::string>& positional() const { return m_positional; }
    bool has(const std::string& name) const;
    std::string text(const std::string& name, const std::string& fallback = "") const;
    std::int32_t integer(const std::string& name, std::int32_t nFallback) const;
    double number(const std::string& name, double dFallback) const;
    // The value must be one of the choices (as text).
    std::int32_t choice(const std::string& name, std::int32_t nFallback, const std::set<std::int32_t>& choices) const;

private:
    std::vector<std::string> m_positional;
    std::map<std::string, std::string> m_values;
};

}

#endif
