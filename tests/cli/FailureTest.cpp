// Every failure has its own message and exit status, in human and JSON form,
// and nothing hangs: locked, blocked and missing SIM cards, wrong PINs, bad
// command lines, missing, busy, silent and vanishing devices.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "ExitStatus.h"
#include "ProgramRun.h"

namespace cellctl::cli::test {
namespace {

void expectJsonError(const ProgramRun& run, ErrorKind kind)
{
    EXPECT_EQ(run.status, exitStatusOf(kind)) << run.out << run.err;
    nlohmann::json document = run.json();
    EXPECT_EQ(document.at("ok"), false);
    EXPECT_EQ(document.at("error").at("kind"), exitStatusEntry(kind).name);
    EXPECT_EQ(document.at("error").at("exit_status"), exitStatusOf(kind));
    EXPECT_FALSE(document.at("error").at("message").get<std::string>().empty());
}

TEST(Failure, ExitStatusesAreDistinctAndNonZero)
{
    std::vector<ExitStatusEntry> table = exitStatusTable();
    std::set<int> statuses;
    std::set<std::string> names;
    for (const ExitStatusEntry& entry : table) {
        EXPECT_EQ(exitStatusEntry(entry.kind).status, entry.status) << "a kind with two rows: " << entry.name;
        EXPECT_NE(entry.status, 0);
        statuses.insert(entry.status);
        names.insert(entry.name);
    }
    EXPECT_EQ(statuses.size(), table.size());
    EXPECT_EQ(names.size(), table.size());
    // Every kind up to the last has its row.
    for (int kind = 0; kind <= static_cast<int>(ErrorKind::Internal); ++kind)
        EXPECT_EQ(exitStatusEntry(static_cast<ErrorKind>(kind)).kind, static_cast<ErrorKind>(kind)) << kind;
}

TEST(Failure, PinLockedCardWithoutPinSaysHowToGiveIt)
{
    ProgramRun run = runOnSimulator({"--sim-state", "pin", "connect", "--apn", "cmnet"});
    EXPECT_EQ(run.status, exitStatusOf(ErrorKind::PinRequired));
    EXPECT_NE(run.err.find("--pin"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("3 attempts left"), std::string::npos) << run.err;
    // The progress line of the step that failed is completed, not left hanging.
    EXPECT_NE(run.out.find("Checking the SIM card ... waiting for its PIN\n"), std::string::npos) << run.out;

    expectJsonError(runOnSimulator({"--json", "--sim-state", "pin", "connect", "--apn", "cmnet"}),
                    ErrorKind::PinRequired);
}

TEST(Failure, WrongPinIsTriedOnceAndTheAttemptsLeftAreShown)
{
    ProgramRun run = runOnSimulator(
        {"--trace", "--sim-state", "pin", "--sim-pin", "1234", "--pin", "9999", "connect", "--apn", "cmnet"});
    EXPECT_EQ(run.status, exitStatusOf(ErrorKind::WrongPassword));
    EXPECT_NE(run.err.find("wrong PIN (2 attempts left)"), std::string::npos) << run.err;
    EXPECT_EQ(linesContaining(run.err, "> AT+CPIN="), 1) << "the PIN must be sent exactly once\n" << run.err;

    ProgramRun json = runOnSimulator({"--json", "--sim-state", "pin", "--pin", "9999", "connect", "--apn", "cmnet"});
    expectJsonError(json, ErrorKind::WrongPassword);
    EXPECT_EQ(json.json().at("error").at("attempts_left").at("pin"), 2);
}

TEST(Failure, BlockedAndMissingCards)
{
    ProgramRun blocked = runOnSimulator({"--sim-state", "puk", "connect", "--apn", "cmnet"});
    EXPECT_EQ(blocked.status, exitStatusOf(ErrorKind::PukRequired));
    EXPECT_NE(blocked.err.find("cellctl sim unblock"), std::string::npos) << blocked.err;
    expectJsonError(runOnSimulator({"--json", "--sim-state", "puk", "--pin", "1234", "operators"}),
                    ErrorKind::PukRequired);

    ProgramRun absent = runOnSimulator({"--sim-state", "absent", "connect", "--apn", "cmnet"});
    EXPECT_EQ(absent.status, exitStatusOf(ErrorKind::NoSim));
    EXPECT_NE(absent.err.find("no SIM card"), std::string::npos) << absent.err;
    expectJsonError(runOnSimulator({"--json", "--sim-state", "absent", "preferred"}), ErrorKind::NoSim);
}

TEST(Failure, BadCommandLines)
{
    const std::vector<std::vector<std::string>> lines = {
        {},
        {"dance"},
        {"connect", "--ip-timeout", "0"},
        {"connect", "--password", "secret"},
        {"connect", "--no-dial", "--no-redial"},
        {"--tcp", "localhost:1", "connect", "--apn", "cmnet"},
        {"connect", "--apn", "cmnet", "--qos", "fast,1,2"},
        {"connect", "--apn", "cmnet", "--qos", "3,64,384", "--gsm"},
        {"--device", "/dev/null", "--tcp", "localhost:1", "status"},
        {"--tcp", "localhost", "status"},
        {"operators", "select", "4600x"},
        {"mode", "switch", "lte"},
        {"sim", "unlock", "12\"34"},
        {"--timeout", "-1", "status"},
        {"--timeout", "1e10", "status"},
        {"--timeout", "1e308", "status"},
        {"--timeout", "nan", "status"},
        {"--timeout", "1e-9", "status"},
        {"monitor", "--duration", "inf"},
        {"monitor", "--interval", "nan"},
        {"--sim-drop", "nan", "status"},
        {"connect", "--ip-timeout", "1e400"},
        {"power"},
    };
    for (const std::vector<std::string>& line : lines) {
        ProgramRun run = runProgram(line);
        EXPECT_EQ(run.status, exitStatusOf(ErrorKind::BadArguments)) << "for: " << testing::PrintToString(line);
        EXPECT_FALSE(run.err.empty());
        EXPECT_LT(run.err.size(), 300u) << run.err;
    }
    expectJsonError(runProgram({"--json", "connect", "--auth", "pap"}), ErrorKind::BadArguments);
    // A PIN that is needed but nowhere given is a bad command line too.
    EXPECT_EQ(runOnSimulator({"sim", "unlock"}).status, exitStatusOf(ErrorKind::BadArguments));
}

TEST(Failure, DeviceNotFound)
{
    ProgramRun run = runProgram({"--device", "/dev/cellctl-no-such-modem", "status"});
    EXPECT_EQ(run.status, exitStatusOf(ErrorKind::DeviceNotFound));
    EXPECT_NE(run.err.find("/dev/cellctl-no-such-modem"), std::string::npos) << run.err;
    expectJsonError(runProgram({"--json", "--device", "/dev/cellctl-no-such-modem", "status"}),
                    ErrorKind::DeviceNotFound);
}

// A pty nobody answers on, as a device path.
class SilentPty {
public:
    SilentPty()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        EXPECT_GE(m_master, 0);
        EXPECT_EQ(::grantpt(m_master), 0);
        EXPECT_EQ(::unlockpt(m_master), 0);
        m_path = ::ptsname(m_master);
    }
    ~SilentPty() { ::close(m_master); }
    const std::string& path() const { return m_path; }
    std::string baseName() const { return m_path.substr(m_path.rfind('/') + 1); }

private:
    int m_master = -1;
    std::string m_path;
};

// The pid of a process that has ended.
pid_t endedProcess()
{
    pid_t pid = ::fork();
    if (pid == 0)
        std::_Exit(0);
    ::waitpid(pid, nullptr, 0);
    return pid;
}

void writeLock(const std::string& path, long pid)
{
    std::FILE* file = std::fopen(path.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fprintf(file, "%10ld\n", pid);
    std::fclose(file);
}

TEST(Failure, DeviceHeldByAnotherProgramIsBusy)
{
    SilentPty pty;
    int holder = ::open(pty.path().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    ProgramRun run = runProgram({"--device", pty.path(), "status"});
    EXPECT_EQ(run.status, exitStatusOf(ErrorKind::DeviceBusy));
    EXPECT_NE(run.err.find("another program"), std::string::npos) << run.err;
    ::close(holder);

    // The UUCP lock of a running program (this test) keeps cellctl off the
    // port and names its holder; a stale one is taken over and released.
    ::setenv("CELLCTL_LOCK_DIR", ::testing::TempDir().c_str(), 1);
    std::string lock = ::testing::TempDir() + "/LCK.." + pty.baseName();
    writeLock(lock, ::getpid());
    ProgramRun locked = runProgram({"--trace", "--device", pty.path(), "status"});
    EXPECT_EQ(locked.status, exitStatusOf(ErrorKind::DeviceBusy)) << locked.err;
    EXPECT_NE(locked.err.find("process " + std::to_string(::getpid())), std::string::npos) << locked.err;
    EXPECT_EQ(linesContaining(locked.err, "> AT"), 0) << locked.err;

    writeLock(lock, endedProcess());
    ProgramRun stale = runProgram({"--device", pty.path(), "--timeout", "1", "power", "off"});
    EXPECT_EQ(stale.status, exitStatusOf(ErrorKind::Timeout)) << stale.err;
    EXPECT_NE(::access(lock.c_str(), F_OK), 0) << "the lock outlived cellctl";
    ::unsetenv("CELLCTL_LOCK_DIR");
}

TEST(Failure, SilentModemTimesOutSlowOneIsWaitedForWithTimeout)
{
    // 3.5 s per answer is past the channel's own 3 s: --timeout lengthens it.
    ProgramRun slow = runOnSimulator({"--sim-latency", "3.5", "--timeout", "20", "power", "off"});
    EXPECT_EQ(slow.status, 0) << slow.err;

    ProgramRun run = runOnSimulator({"--sim-drop", "1", "--timeout", "1", "status"});
    EXPECT_EQ(run.status, exitStatusOf(ErrorKind::Timeout)) << run.err;
    expectJsonError(runOnSimulator({"--json", "--sim-drop", "1", "--timeout", "1", "power", "on"}), ErrorKind::Timeout);
}

// A device on TCP at a free loopback port; `serve` runs on its own thread
// with the listening socket, until the socket is shut down.
class LoopbackDevice {
public:
    using Serve = std::function<void(int listener)>;

    explicit LoopbackDevice(Serve serve)
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(m_listener, 1);
        socklen_t length = sizeof address;
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this, serve = std::move(serve)] { serve(m_listener); });
    }
    ~LoopbackDevice()
    {
        ::shutdown(m_listener, SHUT_RDWR);
        m_thread.join();
        ::close(m_listener);
    }

    std::string target() const { return "127.0.0.1:" + std::to_string(m_port); }

private:
    int m_listener;
    int m_port = 0;
    std::thread m_thread;
};

// Answers every command OK and goes away after `answers` of them, or of
// those whose line holds `counted` when it is given.
LoopbackDevice::Serve vanishingAfter(int answers, std::string counted = "")
{
    return [answers, counted](int listener) mutable {
        int connection = ::accept(listener, nullptr, nullptr);
        if (connection < 0)
            return;
        char c;
        std::string line;
        while (answers > 0 && ::read(connection, &c, 1) == 1) {
            if (c != '\r') {
                line += c;
                continue;
            }
            ::write(connection, "\r\nOK\r\n", 6);
            if (line.find(counted) != std::string::npos)
                --answers;
            line.clear();
        }
        ::close(connection);
    };
}

// Refuses every command line with ERROR, one cellctl run after another.
void refuseEverything(int listener)
{
    int connection;
    while ((connection = ::accept(listener, nullptr, nullptr)) >= 0) {
        char c;
        while (::read(connection, &c, 1) == 1) {
            if (c == '\r')
                ::write(connection, "\r\nERROR\r\n", 9);
        }
        ::close(connection);
    }
}

TEST(Failure, DeviceThatGoesAwayIsReportedLost)
{
    LoopbackDevice device(vanishingAfter(3));
    ProgramRun run = runProgram({"--tcp", device.target(), "power", "on"});
    EXPECT_EQ(run.status, exitStatusOf(ErrorKind::DeviceLost)) << run.out << run.err;
    EXPECT_NE(run.err.find("went away"), std::string::npos) << run.err;

    LoopbackDevice again(vanishingAfter(3));
    expectJsonError(runProgram({"--json", "--tcp", again.target(), "status"}), ErrorKind::DeviceLost);

    // monitor keeps the reports it showed before the loss in its JSON document:
    // the device goes away at its second signal read, after the first was reported.
    LoopbackDevice followed(vanishingAfter(2, "CSQ?"));
    ProgramRun monitor =
        runProgram({"--json", "--tcp", followed.target(), "monitor", "--interval", "0.2", "--duration", "60"});
    expectJsonError(monitor, ErrorKind::DeviceLost);
    nlohmann::json events = monitor.json().value("events", nlohmann::json::array());
    EXPECT_TRUE(std::any_of(events.begin(), events.end(), [](const nlohmann::json& event) {
        return event.at("event") == "signal";
    })) << monitor.out;
}

// A refusal ends the command at once, naming the refused command; and the
// radio is left as it was found: switched off again after a command that
// switched it on only to read, kept on by one that wants the network.
TEST(Failure, RefusalsEndAtOnceAndTheRadioIsLeftAsFound)
{
    LoopbackDevice device(refuseEverything);
    ProgramRun sim = runProgram({"--trace", "--tcp", device.target(), "sim"});
    EXPECT_EQ(sim.status, exitStatusOf(ErrorKind::Failed)) << sim.err;
    EXPECT_NE(sim.err.find("the modem refused AT+CPIN?"), std::string::npos) << sim.err;
    EXPECT_LT(linesContaining(sim.err, "> AT"), 6) << "nothing is asked after the refused state read\n" << sim.err;
    ProgramRun status = runProgram({"--tcp", device.target(), "status"});
    EXPECT_EQ(status.status, exitStatusOf(ErrorKind::Failed)) << status.err;
    EXPECT_NE(status.err.find("the modem refused to power the radio on (AT+CFUN=1)"), std::string::npos) << status.err;

    ProgramRun mode = runOnSimulator({"--trace", "mode"});
    EXPECT_EQ(mode.status, 0) << mode.err;
    EXPECT_NE(mode.out.find("Switching the radio off again (it was off) ... off"), std::string::npos) << mode.out;
    EXPECT_EQ(linesContaining(mode.err, "> AT+CFUN=0"), 1) << mode.err;
    ProgramRun connect = runOnSimulator({"--trace", "connect", "--apn", "cmnet", "--no-dial"});
    EXPECT_EQ(connect.status, 0) << connect.err;
    EXPECT_EQ(linesContaining(connect.err, "> AT+CFUN=0"), 0) << connect.err;
}

TEST(Failure, NothingListeningOnTcpIsNotFound)
{
    ProgramRun run = runProgram({"--tcp", "127.0.0.1:1", "status"});
    EXPECT_EQ(run.status, exitStatusOf(ErrorKind::DeviceNotFound)) << run.err;
}

}  // namespace
}  // namespace cellctl::cli::test
