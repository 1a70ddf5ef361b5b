// The data session's dial against a modem played on a pty: each refusal a
// modem can answer ATD with ends the first call with DialFailed, naming the
// result and the modem's own reason (+CEER), and nothing is left running.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <thread>
#include <unistd.h>

#include <boost/asio/io_context.hpp>
#include <boost/asio/steady_timer.hpp>

#include "datalink/DataLinkError.h"
#include "datalink/DataSession.h"

namespace cellctl::cli::test {
namespace {

// Answers on the pty master: `dialResult` to ATD, a reason to +CEER, OK to the rest.
class RefusingModem {
public:
    explicit RefusingModem(std::string dialResult) : m_dialResult(std::move(dialResult))
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        ::grantpt(m_master);
        ::unlockpt(m_master);
        m_slave = ::ptsname(m_master);
        m_thread = std::thread([this] { serve(); });
    }
    ~RefusingModem()
    {
        m_stop = true;
        m_thread.join();
        ::close(m_master);
    }
    const std::string& port() const { return m_slave; }

private:
    void serve()
    {
        std::string line;
        while (!m_stop) {
            pollfd p{m_master, POLLIN, 0};
            char c;
            if (::poll(&p, 1, 50) <= 0 || ::read(m_master, &c, 1) != 1)
                continue;
            if (c != '\r') {
                line += c;
                continue;
            }
            std::string answer = line.rfind("ATD", 0) == 0 ? m_dialResult
                                 : line == "AT+CEER"       ? "+CEER: user busy\r\n\r\nOK"
                                                           : "OK";
            answer = "\r\n" + answer + "\r\n";
            [[maybe_unused]] ssize_t written = ::write(m_master, answer.data(), answer.size());
            line.clear();
        }
    }

    std::string m_dialResult;
    int m_master = -1;
    std::string m_slave;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

class LoopHost : public DataLinkHost {
public:
    explicit LoopHost(boost::asio::io_context& io) : m_io(io) {}
    bool runLoop(const std::function<bool()>& done, LinkClock::duration limit) override
    {
        bool expired = false;
        boost::asio::steady_timer timer(m_io, limit);
        timer.async_wait([&expired](const boost::system::error_code& error) { expired = !error; });
        while (!done() && !expired) {
            if (m_io.run_one() == 0)
                m_io.restart();
        }
        timer.cancel();
        m_io.poll();
        return done();
    }
    bool stopRequested() const override { return false; }

private:
    boost::asio::io_context& m_io;
};

TEST(Dial, EveryRefusalEndsTheFirstCallWithTheModemsReason)
{
    ::setenv("CELLCTL_LOCK_DIR", ::testing::TempDir().c_str(), 1);
    for (const char* refusal : {"BUSY", "NO CARRIER", "NO ANSWER", "NO DIALTONE", "ERROR", "+CME ERROR: 30"}) {
        RefusingModem modem(refusal);
        boost::asio::io_context io;
        LoopHost host(io);
        DataLinkOptions options;
        options.commandPort = modem.port();
        options.isPty = true;
        options.pppdPath = "/nonexistent/pppd";  // never reached
        DataSession session(io, host, options);
        try {
            session.run();
            ADD_FAILURE() << refusal << " was taken for a connection";
        } catch (const DataLinkError& error) {
            EXPECT_EQ(error.failure(), DataLinkFailure::DialFailed) << refusal << ": " << error.what();
            std::string message = error.what();
            EXPECT_NE(message.find(refusal), std::string::npos) << message;
            EXPECT_NE(message.find("+CEER: user busy"), std::string::npos) << message;
        }
        EXPECT_FALSE(session.everUp());
    }
}

}  // namespace
}  // namespace cellctl::cli::test
