#ifndef VELMO_SETUP_CONSOLE_H
#define VELMO_SETUP_CONSOLE_H

#include <string>

namespace velmo::setup {

// The installer's messages: one line each on standard output, shown at once. After the
// last one the program lingers, so that a console opened for it stays readable.
class Console {
public:
    void say(const std::string& message) const;
    // Says the message and waits three seconds.
    void finish(const std::string& message) const;
};

}

#endif
