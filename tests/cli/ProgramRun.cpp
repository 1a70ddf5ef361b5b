#include "ProgramRun.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace cellctl::cli::test {
namespace {

void drain(int& fd, std::string& into)
{
    char buffer[4096];
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
        into.append(buffer, static_cast<size_t>(n));
    } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
        ::close(fd);
        fd = -1;
    }
}

bool allSeen(const std::string& text, const std::vector<std::string>& cues)
{
    for (const std::string& cue : cues) {
        if (text.find(cue) == std::string::npos)
            return false;
    }
    return true;
}

}  // namespace

nlohmann::json ProgramRun::json() const
{
    nlohmann::json document = nlohmann::json::parse(out, nullptr, false);
    EXPECT_FALSE(document.is_discarded()) << "stdout is not one JSON document:\n" << out << "\nstderr:\n" << err;
    return document;
}

namespace {

std::string processCommandLine(pid_t pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/cmdline");
    std::string words((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::replace(words.begin(), words.end(), '\0', ' ');
    return words;
}

// `input`, when given, is standard input: written whole before the program
// starts (so it must fit in a pipe's buffer), then the end of input.
ProgramRun runWatched(const std::vector<std::string>& args, int safetySeconds, const std::vector<std::string>& cues,
                      StdoutFate fate = {}, const std::string* input = nullptr)
{
    int outPipe[2];
    int errPipe[2];
    int inPipe[2] = {-1, -1};
    if (::pipe(outPipe) != 0 || ::pipe(errPipe) != 0 || (input != nullptr && ::pipe(inPipe) != 0)) {
        ADD_FAILURE() << "pipe: " << std::strerror(errno);
        return {};
    }
    if (input != nullptr) {
        EXPECT_EQ(::write(inPipe[1], input->data(), input->size()), static_cast<ssize_t>(input->size()));
        ::close(inPipe[1]);
    }
    std::vector<std::string> words = {CELLCTL_PROGRAM};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    pid_t pid = ::fork();
    if (pid == 0) {
        if (fate.kind == StdoutFate::DevFull)
            ::dup2(::open("/dev/full", O_WRONLY), STDOUT_FILENO);
        else if (fate.kind == StdoutFate::Closed)
            ::close(STDOUT_FILENO);
        else
            ::dup2(outPipe[1], STDOUT_FILENO);
        ::close(outPipe[1]);
        ::dup2(errPipe[1], STDERR_FILENO);
        ::close(outPipe[0]);
        ::close(errPipe[0]);
        if (input != nullptr) {
            ::dup2(inPipe[0], STDIN_FILENO);
            ::close(inPipe[0]);
        }
        ::execv(argv[0], argv.data());
        std::_Exit(127);
    }
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    if (input != nullptr)
        ::close(inPipe[0]);

    ProgramRun run;
    bool interrupted = false;
    int fds[2] = {outPipe[0], errPipe[0]};
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(safetySeconds);
    while (fds[0] >= 0 || fds[1] >= 0) {
        if (fate.kind == StdoutFate::ReaderLeaves && fds[0] >= 0 &&
            std::count(run.out.begin(), run.out.end(), '\n') >= fate.lines) {
            ::close(fds[0]);
            fds[0] = -1;
        }
        pollfd polled[2];
        nfds_t count = 0;
        for (int fd : fds) {
            if (fd >= 0)
                polled[count++] = {fd, POLLIN, 0};
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            run.hung = true;
            ::kill(pid, SIGKILL);
            break;
        }
        if (::poll(polled, count, static_cast<int>(left.count())) < 0 && errno != EINTR)
            break;
        for (nfds_t i = 0; i < count; ++i) {
            if (polled[i].revents == 0)
                continue;
            if (run.commandLine.empty())
                run.commandLine = processCommandLine(pid);
            if (polled[i].fd == fds[0])
                drain(fds[0], run.out);
            else
                drain(fds[1], run.err);
        }
        if (!cues.empty() && !interrupted && allSeen(run.out, cues)) {
            ::kill(pid, SIGINT);
            interrupted = true;
        }
    }
    for (int fd : fds) {
        if (fd >= 0)
            ::close(fd);
    }
    int waitStatus = 0;
    ::waitpid(pid, &waitStatus, 0);
    run.status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
    EXPECT_FALSE(run.hung) << "cellctl hung; stdout so far:\n" << run.out << "\nstderr:\n" << run.err;
    EXPECT_TRUE(WIFEXITED(waitStatus)) << "cellctl died of a signal; stderr:\n" << run.err;
    if (!cues.empty()) {
        EXPECT_TRUE(interrupted) << "never saw all of: " << testing::PrintToString(cues) << "\n" << run.out;
    }
    return run;
}

}  // namespace

ProgramRun runProgram(const std::vector<std::string>& args, int safetySeconds)
{
    return runWatched(args, safetySeconds, {});
}

ProgramRun runProgramWithStdout(const std::vector<std::string>& args, StdoutFate fate)
{
    return runWatched(args, 60, {}, fate);
}

ProgramRun runProgramInterrupted(const std::vector<std::string>& args, const std::vector<std::string>& cues)
{
    return runWatched(args, 60, cues);
}

ProgramRun runProgramWithInput(const std::vector<std::string>& args, const std::string& input)
{
    return runWatched(args, 60, {}, {}, &input);
}

ProgramRun runOnSimulator(const std::vector<std::string>& args)
{
    std::vector<std::string> all = {"--sim-registration-delay", "0.1", "--sim-scan-duration", "0.2"};
    all.insert(all.end(), args.begin(), args.end());
    return runProgram(all);
}

int linesContaining(const std::string& text, const std::string& needle)
{
    std::istringstream lines(text);
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        if (line.find(needle) != std::string::npos)
            ++count;
    }
    return count;
}

}  // namespace cellctl::cli::test
