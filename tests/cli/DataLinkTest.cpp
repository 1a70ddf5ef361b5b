// The data call through the program, on the built-in simulated modem, with a
// stand-in for pppd (this machine's kernel has no PPP): the dial, the line
// handed over, the options and secrets pppd gets, what its log makes cellctl
// say, the hang-up, exit statuses, redials. The User-mode Linux test in
// tests/datalink runs the real pppd on both ends.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "ExitStatus.h"
#include "ProgramRun.h"

namespace cellctl::cli::test {
namespace {

// A scratch folder with a stand-in pppd whose behaviour is written into it:
// it records its arguments, its descriptors and its options file, logs on
// fd 3 as pppd does, then runs `then`.
class FakePppd {
public:
    explicit FakePppd(const std::string& then, const std::string& log = kUpLog)
    {
        char folder[] = "/tmp/cellctl-pppd-XXXXXX";
        m_dir = ::mkdtemp(folder);
        std::ofstream script(path());
        script << "#!/bin/sh\n"
               << "echo \"$@\" > " << m_dir << "/args\n"
               << "in=$(readlink /proc/$$/fd/0) out=$(readlink /proc/$$/fd/1)\n"
               << "echo \"$in $out\" > " << m_dir << "/fds\n"
               << "[ -e /proc/$$/fd/4 ] && cat <&4 > " << m_dir << "/secrets\n"
               << "tr '\\0' ' ' < /proc/$PPID/cmdline > " << m_dir << "/cellctl-cmdline\n"
               << "printf '" << log << "' >&3\n"
               << then << "\n";
        script.close();
        ::chmod(path().c_str(), 0755);
    }
    ~FakePppd() { std::system(("rm -rf " + m_dir).c_str()); }

    std::string path() const { return m_dir + "/pppd"; }
    std::string file(const std::string& name) const { return m_dir + "/" + name; }
    std::string read(const std::string& name) const
    {
        std::ifstream in(file(name));
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    static constexpr const char* kUpLog =
        "Using interface ppp0\\nConnect: ppp0 <--> /dev/pts/9\\n"
        "local  IP address 10.64.0.2\\nremote IP address 10.64.0.1\\n"
        "primary   DNS address 10.64.0.53\\n";
    // Until SIGTERM, then pppd's status for it.
    static constexpr const char* kUntilTerminated = "trap 'exit 5' TERM\nwhile :; do sleep 0.1; done";

private:
    std::string m_dir;
};

std::vector<std::string> connectWith(const FakePppd& pppd, std::vector<std::string> more)
{
    std::vector<std::string> args = {"--sim-registration-delay",
                                     "0.1",
                                     "--sim-state",
                                     "pin",
                                     "--pin",
                                     "1234",
                                     "connect",
                                     "--apn",
                                     "cmnet",
                                     "--pppd",
                                     pppd.path(),
                                     "--ip-timeout",
                                     "5"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(DataLink, DialsHandsTheLineToPppdShowsTheLinkAndHangsUpOnCtrlC)
{
    FakePppd pppd(FakePppd::kUntilTerminated);
    ProgramRun run =
        runProgramInterrupted(connectWith(pppd, {"--user", "guest", "--password", "s3cr\"et", "--auth", "pap",
                                                 "--resolv-conf", pppd.file("resolv.conf"), "--no-default-route"}),
                              {"DNS:"});
    ASSERT_EQ(run.status, 0) << run.out << run.err;

    // Progress in order: the dial, CONNECT with its speed, PPP, the link.
    size_t at = 0;
    for (const char* step :
         {"Attaching to the packet domain ... attached", "Dialling *99***1# ... CONNECT",
          "Starting PPP ... ppp0 negotiating ... up", "Online:           ppp0 10.64.0.2 (peer 10.64.0.1)",
          "DNS:              10.64.0.53", "Hanging up ... done", "Session:"}) {
        size_t found = run.out.find(step, at);
        ASSERT_NE(found, std::string::npos) << "missing or out of order: " << step << "\n" << run.out;
        at = found;
    }
    EXPECT_EQ(run.out.find("Online:           APN"), std::string::npos) << "an attach is no link";

    // pppd got the modem's pty as stdin and stdout, explicit options, and the
    // secrets only through its options file.
    std::istringstream fds(pppd.read("fds"));
    std::string in, out;
    fds >> in >> out;
    EXPECT_EQ(in.rfind("/dev/pts/", 0), 0u) << in;
    EXPECT_EQ(in, out);
    std::string args = pppd.read("args");
    for (const char* option : {"nodetach", "logfd 3", "noauth", "noipdefault", "usepeerdns", "lcp-echo-interval",
                               "lcp-echo-failure", "nodefaultroute", "local", "refuse-chap", "file /dev/fd/4"})
        EXPECT_NE(args.find(option), std::string::npos) << option << " missing from: " << args;
    EXPECT_EQ(args.find(" defaultroute"), std::string::npos) << args;
    EXPECT_EQ(args.find("s3cr"), std::string::npos) << args;
    EXPECT_EQ(pppd.read("secrets"), "user \"guest\"\npassword \"s3cr\\\"et\"\n");
    EXPECT_EQ(run.out.find("s3cr"), std::string::npos);
    // Nor does cellctl's own process list entry show it.
    EXPECT_NE(pppd.read("cellctl-cmdline").find("--password ******"), std::string::npos)
        << pppd.read("cellctl-cmdline");
    EXPECT_EQ(run.err.find("s3cr"), std::string::npos);

    EXPECT_EQ(pppd.read("resolv.conf"), "# DNS servers of ppp0, written by cellctl\nnameserver 10.64.0.53\n");
}

TEST(DataLink, PppdEndingsBecomeTheirOwnExitStatuses)
{
    struct Case {
        const char* then;
        ErrorKind kind;
        const char* says;
    };
    const Case cases[] = {
        {"exit 4", ErrorKind::NoKernelPpp, "/dev/ppp"},
        {"exit 3", ErrorKind::PppNotPermitted, "dip group"},
        {"exit 19", ErrorKind::AuthRefused, "user name or password"},
        {"exit 10", ErrorKind::Failed, "PPP negotiation failed"},
        {"sleep 30", ErrorKind::NoIpAddress, "no IP address within 2 s"},
    };
    for (const Case& c : cases) {
        FakePppd pppd(c.then, "Using interface ppp0\\n");
        ProgramRun run = runProgram(connectWith(pppd, {"--ip-timeout", "2", "--json"}));
        EXPECT_EQ(run.status, exitStatusOf(c.kind)) << c.then << "\n" << run.out << run.err;
        EXPECT_NE(run.out.find(c.says), std::string::npos) << c.then << "\n" << run.out;
        // The modem was hung up and answered again before cellctl ended.
        EXPECT_NE(run.out.find("\"hang-up\""), std::string::npos) << run.out;
    }

    FakePppd missing("exit 0");
    ProgramRun notInstalled = runProgram(connectWith(missing, {"--pppd", missing.file("nowhere")}));
    EXPECT_EQ(notInstalled.status, exitStatusOf(ErrorKind::PppMissing)) << notInstalled.err;
    EXPECT_NE(notInstalled.err.find("install the ppp package"), std::string::npos) << notInstalled.err;
}

TEST(DataLink, ADroppedLinkIsRedialledWithBackoffUntilTheLimit)
{
    // Up for a moment, then the modem hangs up (pppd's status 16).
    FakePppd pppd("sleep 0.5\nexit 16");
    ProgramRun run = runProgram(connectWith(pppd, {"--max-redials", "1"}));
    EXPECT_EQ(run.status, exitStatusOf(ErrorKind::LinkDropped)) << run.out << run.err;
    EXPECT_EQ(linesContaining(run.out, "Dialling *99***1#"), 2) << run.out;
    EXPECT_EQ(linesContaining(run.out, "Link down:        the modem hung up"), 2) << run.out;
    EXPECT_NE(run.out.find("Redialling in 2 s (redial 1)"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("gave up after 1 redials"), std::string::npos) << run.err;
    // The PIN went in once; a redial never enters it again.
    EXPECT_EQ(linesContaining(run.out, "Unlocking the SIM card"), 1) << run.out;

    ProgramRun once = runProgram(connectWith(pppd, {"--no-redial"}));
    EXPECT_EQ(once.status, exitStatusOf(ErrorKind::LinkDropped)) << once.out << once.err;
    EXPECT_EQ(linesContaining(once.out, "Dialling"), 1) << once.out;
}

}  // namespace
}  // namespace cellctl::cli::test
