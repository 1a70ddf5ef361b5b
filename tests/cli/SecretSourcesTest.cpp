// Secrets reach cellctl from a file, the environment or standard input, where
// other users cannot read them; each secret has one source, and no output,
// trace included, ever shows one. Words where a command belongs are named.
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

#include "ExitStatus.h"
#include "ProgramRun.h"

namespace cellctl::cli::test {
namespace {

// Digits that appear nowhere else in cellctl's output, so that any echo of
// the secrets is found.
const std::string kPin = "80417263";
const std::string kPuk = "97531864";
const std::string kNewPin = "60295";

// A file holding `text` for the life of the object.
class SecretFile {
public:
    SecretFile(const std::string& name, const std::string& text) : m_path(testing::TempDir() + "cellctl-secret-" + name)
    {
        std::ofstream(m_path) << text;
    }
    ~SecretFile() { std::remove(m_path.c_str()); }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

// Sets an environment variable for the runs of one scope (the program inherits it).
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : m_name(name) { ::setenv(name, value.c_str(), 1); }
    ~ScopedEnvironment() { ::unsetenv(m_name); }

private:
    const char* m_name;
};

std::vector<std::string> onPinLockedCard(const std::vector<std::string>& more)
{
    std::vector<std::string> args = {"--json",    "--trace", "--sim-registration-delay", "0.1", "--sim-state", "pin",
                                     "--sim-pin", kPin};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// Neither in the output nor in the process list.
void expectNoSecretShown(const ProgramRun& run, const std::string& what)
{
    for (const std::string& secret : {kPin, kPuk, kNewPin})
        EXPECT_EQ((run.out + run.err + run.commandLine).find(secret), std::string::npos) << what << "\n"
                                                                                         << run.commandLine << "\n"
                                                                                         << run.out << run.err;
}

void expectUnlocked(const ProgramRun& run, const std::string& what)
{
    ASSERT_EQ(run.status, 0) << what << "\n" << run.err;
    EXPECT_EQ(run.json().at("sim").at("state"), "ready") << what;
    EXPECT_EQ(linesContaining(run.err, "> AT+CPIN="), 1) << what << "\n" << run.err;
    expectNoSecretShown(run, what);
}

void expectRefused(const ProgramRun& run, const std::string& because, const std::string& what)
{
    EXPECT_EQ(run.status, exitStatusOf(ErrorKind::BadArguments)) << what << "\n" << run.err;
    EXPECT_NE((run.out + run.err).find(because), std::string::npos) << what << "\n" << run.out << run.err;
    EXPECT_EQ(linesContaining(run.err, "> AT"), 0) << what << "\n" << run.err;
    expectNoSecretShown(run, what);
}

TEST(SecretSources, PinFromFileEnvironmentOrStandardInputOneSourceEachNeverShown)
{
    SecretFile pinFile("pin", kPin + "\n");
    {
        // A wrong PIN in the environment is never tried: the file wins.
        ScopedEnvironment wrong("CELLCTL_PIN", "0000");
        expectUnlocked(runProgram(onPinLockedCard({"--pin-file", pinFile.path(), "status"})), "--pin-file");
    }
    {
        ScopedEnvironment pin("CELLCTL_PIN", kPin);
        expectUnlocked(runProgram(onPinLockedCard({"status"})), "CELLCTL_PIN");
    }
    expectUnlocked(runProgramWithInput(onPinLockedCard({"--pin", "-", "status"}), kPin + "\n"), "--pin -");

    expectRefused(runProgram(onPinLockedCard({"--pin", "1234", "--pin-file", pinFile.path(), "status"})), "once",
                  "--pin and --pin-file");
    expectRefused(runProgram(onPinLockedCard({"--pin-file", pinFile.path() + ".missing", "status"})),
                  pinFile.path() + ".missing", "missing file");
    expectRefused(runProgramWithInput(onPinLockedCard({"--pin", "-", "sim", "unblock", "-", kNewPin}), kPin + "\n"),
                  "standard input", "two secrets from standard input");
    // What a file gives is checked as the same secret on the command line is.
    SecretFile shortPin("short", "12\n");
    expectRefused(runProgram(onPinLockedCard({"--pin-file", shortPin.path(), "status"})), "digits",
                  "a two-digit PIN from a file");

    // The PUK from its file: the one argument left is the new PIN.
    SecretFile pukFile("puk", kPuk + "\n");
    ProgramRun unblocked = runOnSimulator({"--json", "--trace", "--sim-state", "puk", "--sim-puk", kPuk, "sim",
                                           "unblock", "--puk-file", pukFile.path(), kNewPin});
    ASSERT_EQ(unblocked.status, 0) << unblocked.err;
    EXPECT_EQ(unblocked.json().at("state"), "ready");
    EXPECT_EQ(linesContaining(unblocked.err, "> AT+CPIN="), 1) << unblocked.err;
    expectNoSecretShown(unblocked, "sim unblock --puk-file");
}

TEST(SecretSources, AWordWhereACommandBelongsIsAnUnknownCommand)
{
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"frobnicate"}, "unknown command: frobnicate (see cellctl --help)"},
        {{"--json", "sim", "frobnicate"}, "unknown command: sim frobnicate"},
        {{}, "no command given"},
        {{"power"}, "'power' needs one of: on, off, reset"},
    };
    for (const Case& c : cases) {
        ProgramRun run = runProgram(c.args);
        EXPECT_EQ(run.status, exitStatusOf(ErrorKind::BadArguments)) << c.message << "\n" << run.err;
        EXPECT_NE((run.out + run.err).find(c.message), std::string::npos) << run.out << run.err;
    }
}

}  // namespace
}  // namespace cellctl::cli::test
