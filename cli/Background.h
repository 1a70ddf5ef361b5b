#pragma once

#include <sys/types.h>

namespace cellctl::cli {

// `connect --background`: the program forks before it touches the modem, so
// that no thread is lost to the fork. The parent stays on the terminal,
// passes Ctrl-C on to the child, and ends when the child's link is up (status
// 0) or when the child fails first (the child's status). The child runs the
// connection and, once its link is up and shown, leaves the terminal and goes
// on supervising the link until `cellctl disconnect` or a signal ends it.
class Background {
public:
    // Returns in the child only.
    static Background start();

    // In the child, once the link is up and shown: the parent may go, and the
    // child's standard streams go to /dev/null.
    void detach();

private:
    explicit Background(int readyFd) : m_readyFd(readyFd) {}
    int m_readyFd;
};

}  // namespace cellctl::cli
