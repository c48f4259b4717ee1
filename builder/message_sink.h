// Where the builder's messages go: message boxes in the window, stderr on
// the command line, a list in tests.
#pragma once

#include <string>

namespace wavra::build {

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // A note the user should read (the operation goes on or has succeeded).
    virtual void inform(const std::string& text) = 0;
    // A failure: the operation stopped and nothing was written.
    virtual void fail(const std::string& text) = 0;
};

} // namespace wavra::build
