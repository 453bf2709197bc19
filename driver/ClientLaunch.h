#ifndef VELMO_DRIVER_CLIENTLAUNCH_H
#define VELMO_DRIVER_CLIENTLAUNCH_H

#include <string>
#include <string_view>

namespace velmo::driver {

// "client" "page file", and "extra argument" when the configured one is not blank: the
// client always finds the page file as its first argument and the extra argument, trimmed,
// as one second argument.
std::string clientCommandLine(const std::string& clientPath, const std::string& pageFile, std::string_view clientArgs);

// Starts the client program, when it is an existing file, and does not wait for it. A
// client that cannot be started leaves the job's files where they are.
void startClient(const std::string& clientPath, const std::string& commandLine);

}

#endif
