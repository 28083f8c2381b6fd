// Work that may wait on the network runs off the GUI thread.
#pragma once

#include <functional>

namespace lumivar {

// What the work found comes back to the GUI thread, where prompts, the tip and state change.
// The work must touch only what it was given, never the program's objects, as it may outlive them.
class IBackground {
public:
    virtual ~IBackground() = default;
    // work() on the worker thread, then done() on the GUI thread; done never runs once the main
    // window is gone.
    virtual void Run(std::function<void()> work, std::function<void()> done) = 0;
};

}  // namespace lumivar
