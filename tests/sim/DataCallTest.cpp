// Data calls through a real pty: dialling, the data stream to and from a peer
// program, the "+++" escape, hang-up, DTR drop, the peer's exit and the
// second (data) port.
#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include <cellsim/ServerThread.h>

namespace cellsim {
namespace {

using namespace std::chrono_literals;

const std::string connectTd = "\r\nCONNECT 2800000\r\n";
const std::string noCarrier = "\r\nNO CARRIER\r\n";
const std::string ok = "\r\nOK\r\n";

// A host on one pty: writes bytes, reads until an expected ending arrives
// (or 10 s pass, so a failing test ends).
class Host {
public:
    explicit Host(const std::string& path) : m_fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC)) {}
    ~Host() { close(); }

    bool opened() const { return m_fd >= 0; }
    void close()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }

    void send(const std::string& bytes) { EXPECT_EQ(::write(m_fd, bytes.data(), bytes.size()), ssize_t(bytes.size())); }

    std::string readUntil(const std::string& ending)
    {
        std::string got;
        while (got.size() < ending.size() || got.compare(got.size() - ending.size(), ending.size(), ending) != 0) {
            pollfd ready{m_fd, POLLIN, 0};
            char buffer[512];
            if (::poll(&ready, 1, 10000) != 1) {
                break;
            }
            const ssize_t size = ::read(m_fd, buffer, sizeof(buffer));
            if (size <= 0) {
                break;
            }
            got.append(buffer, static_cast<std::size_t>(size));
        }
        return got;
    }

    // A command line, answered up to `ending`.
    std::string ask(const std::string& line, const std::string& ending = ok)
    {
        send(line + "\r");
        return readUntil(ending);
    }

    // The escape: a guard time of silence, "+++", the modem's OK after the
    // guard time that follows.
    std::string escape()
    {
        std::this_thread::sleep_for(1500ms);
        send("+++");
        return readUntil(ok);
    }

    // DTR off for a while (speed B0, as a host does on a pty), then on again.
    std::string dropDtr()
    {
        termios mode{};
        ::tcgetattr(m_fd, &mode);
        termios dropped = mode;
        ::cfsetospeed(&dropped, B0);
        ::tcsetattr(m_fd, TCSANOW, &dropped);
        const std::string answer = readUntil(noCarrier);
        ::tcsetattr(m_fd, TCSANOW, &mode);
        return answer;
    }

private:
    int m_fd;
};

std::string linkPath(const char* name)
{
    return ::testing::TempDir() + "cellsim-" + std::to_string(::getpid()) + "-" + name;
}

ModemOptions quickModem(const std::string& peer)
{
    ModemOptions options;
    options.registrationDelay = 0ms;
    options.dataPeer = peer;
    return options;
}

// Radio on, attached, context 1 defined.
void readyForData(Host& host)
{
    EXPECT_EQ(host.ask("ATE0"), "ATE0\r" + ok);
    EXPECT_EQ(host.ask("AT+CFUN=1"), ok);
    EXPECT_EQ(host.ask("AT+CGATT=1"), ok);
    EXPECT_EQ(host.ask("AT+CGDCONT=1,\"IP\",\"cmnet\""), ok);
}

TEST(DataCall, DialCarriesBytesBothWaysAndEscapesOnlyWithGuardTimes)
{
    ServerSettings settings;
    settings.linkPath = linkPath("dial");
    ServerThread server(quickModem("cat"), settings);
    server.start();
    Host host(settings.linkPath);
    ASSERT_TRUE(host.opened());

    EXPECT_EQ(host.ask("ATE0"), "ATE0\r" + ok);
    EXPECT_EQ(host.ask("ATD*99***1#", noCarrier), noCarrier) << "the radio is off";
    EXPECT_EQ(host.ask("AT+CEER"), "\r\n+CEER: not registered\r\n" + ok);
    EXPECT_EQ(host.ask("AT+CFUN=1"), ok);
    EXPECT_EQ(host.ask("AT+CGATT=0"), ok);
    EXPECT_EQ(host.ask("ATD*99***1#", noCarrier), noCarrier);
    EXPECT_EQ(host.ask("AT+CEER"), "\r\n+CEER: not attached to the packet domain\r\n" + ok);
    EXPECT_EQ(host.ask("AT+CGATT=1"), ok);
    EXPECT_EQ(host.ask("ATD*99***3#", "\r\n+CME ERROR: 50\r\n"), "\r\n+CME ERROR: 50\r\n");
    EXPECT_EQ(host.ask("AT+CEER"), "\r\n+CEER: no PDP context 3\r\n" + ok);
    EXPECT_EQ(host.ask("ATD10086;", noCarrier), noCarrier) << "no voice calls";
    EXPECT_EQ(host.ask("AT+CGDCONT=3,\"IP\",\"cmnet\""), ok);

    EXPECT_EQ(host.ask("atd*99***3#", connectTd), connectTd);
    const std::string binary("\x7E\xFF\x7D\x23\r\nAT\r\0\x01+++x", 15);
    host.send(binary);
    EXPECT_EQ(host.readUntil("+++x"), binary) << "binary bytes pass unchanged, +++ amid data is data";
    std::this_thread::sleep_for(1500ms);
    host.send("+++more");
    EXPECT_EQ(host.readUntil("+++more"), "+++more") << "bytes right after +++ make it data";

    EXPECT_EQ(host.escape(), ok);
    EXPECT_EQ(host.ask("AT"), ok) << "online command state takes commands";
    EXPECT_EQ(host.ask("ATO", connectTd), connectTd);
    host.send("back online");
    EXPECT_EQ(host.readUntil("online"), "back online");

    EXPECT_EQ(host.escape(), ok);
    EXPECT_EQ(host.ask("ATH"), ok);
    EXPECT_EQ(host.ask("ATO", noCarrier), noCarrier) << "the call is gone";
    EXPECT_EQ(host.ask("ATH"), ok) << "hanging up without a call";
    server.stop();
}

TEST(DataCall, EndsWhenDtrDropsAndWhenThePeerExits)
{
    ServerSettings settings;
    settings.linkPath = linkPath("end");
    ModemOptions options = quickModem("head -c 4");  // passes four bytes back, then exits
    options.mode = ModeStart::Gsm;
    ServerThread server(options, settings);
    server.start();
    Host host(settings.linkPath);
    ASSERT_TRUE(host.opened());
    readyForData(host);

    const std::string connectGsm = "\r\nCONNECT 236800\r\n";
    EXPECT_EQ(host.ask("ATD*99**PPP*1#", connectGsm), connectGsm);
    EXPECT_EQ(host.dropDtr(), noCarrier);
    EXPECT_EQ(host.ask("AT"), ok);
    EXPECT_EQ(host.ask("AT+CEER"), "\r\n+CEER: DTR dropped\r\n" + ok);

    EXPECT_EQ(host.ask("ATDT*99#", connectGsm), connectGsm);
    host.send("ping");
    EXPECT_EQ(host.readUntil(noCarrier), "ping" + noCarrier);
    EXPECT_EQ(host.ask("AT"), ok);
    EXPECT_EQ(host.ask("AT+CEER"), "\r\n+CEER: peer hung up\r\n" + ok);
    server.stop();
}

TEST(DataPort, CarriesTheCallWhileTheAtPortAnswers)
{
    ServerSettings settings;
    settings.linkPath = linkPath("at");
    settings.dataLinkPath = linkPath("data");
    ModemOptions options = quickModem("cat");
    options.dataPort = true;
    ServerThread server(options, settings);
    server.start();
    ASSERT_FALSE(server.dataPortPath().empty());
    EXPECT_NE(server.dataPortPath(), server.slavePath());
    Host at(settings.linkPath);
    ASSERT_TRUE(at.opened());
    readyForData(at);

    {
        Host data(settings.dataLinkPath);
        ASSERT_TRUE(data.opened());
        EXPECT_EQ(data.ask("AT+CGDCONT?"), "\r\n+CGDCONT: 1,\"IP\",\"cmnet\",\"\",0,0\r\n" + ok)
            << "both ports see one modem";
        EXPECT_EQ(data.ask("ATD*99#", connectTd), connectTd);

        EXPECT_EQ(at.ask("AT+CGATT?"), "\r\n+CGATT: 1\r\n" + ok);
        EXPECT_EQ(at.ask("AT+HSIND=1", "\r\n+HSIND: 1\r\n"), ok + "\r\n+HSIND: 1\r\n") << "reports go to the AT port";
        data.send("still data");
        EXPECT_EQ(data.readUntil("data"), "still data") << "nothing was put into the data stream";
    }  // the data port's host goes away mid-call

    // The modem learns of it from the pty; the AT port shows when it has.
    std::string reason;
    for (int tries = 0; tries < 100 && reason.find("host closed") == std::string::npos; ++tries) {
        std::this_thread::sleep_for(50ms);
        reason = at.ask("AT+CEER");
    }
    EXPECT_EQ(reason, "\r\n+CEER: host closed the port\r\n" + ok);
    Host again(settings.dataLinkPath);
    ASSERT_TRUE(again.opened());
    EXPECT_EQ(again.ask("AT"), ok) << "back in command mode";
    server.stop();
}

}  // namespace
}  // namespace cellsim
