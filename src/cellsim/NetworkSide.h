#pragma once

#include <functional>
#include <memory>
#include <string>

namespace cellsim {

// The network end of a data call: it takes the host's bytes and answers
// through the events it was made with.
class NetworkSide {
public:
    struct Events {
        std::function<void(const std::string&)> received;
        // The network end went away; called at most once, never from inside
        // send(), and the receiver may destroy the NetworkSide in it.
        std::function<void(const std::string& reason)> ended;
    };

    virtual ~NetworkSide() = default;
    virtual void send(const std::string& bytes) = 0;
};

// Makes the network side of a new call. An empty factory: there is none, and
// the host's bytes go nowhere.
using NetworkSideFactory = std::function<std::unique_ptr<NetworkSide>(NetworkSide::Events)>;

}  // namespace cellsim
