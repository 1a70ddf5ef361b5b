#include "PortHolder.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace cellctl::cli {
namespace {

namespace fs = std::filesystem;

std::string processName(long pid)
{
    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name.empty() ? "" : " (" + name + ")";
}

bool runsElsewhere(long pid)
{
    return pid > 0 && pid != ::getpid() && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

// The pid a UUCP lock file names (ASCII, as the serial tools write it); 0 when unreadable.
long lockOwner(const std::string& lockFile)
{
    std::ifstream file(lockFile);
    long pid = 0;
    return file >> pid ? pid : 0;
}

std::optional<long> processWithDeviceOpen(dev_t device)
{
    std::error_code error;
    for (fs::directory_iterator proc("/proc", error), end; !error && proc != end; proc.increment(error)) {
        const std::string pidText = proc->path().filename().string();
        if (pidText.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const long pid = std::stol(pidText);
        if (pid == ::getpid())
            continue;
        std::error_code fdError;
        for (fs::directory_iterator fd(proc->path() / "fd", fdError), fdEnd; !fdError && fd != fdEnd;
             fd.increment(fdError)) {
            struct stat target {};
            if (::stat(fd->path().c_str(), &target) == 0 && S_ISCHR(target.st_mode) && target.st_rdev == device)
                return pid;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> portHolder(const std::string& devicePath, const std::string& lockDir)
{
    const std::string lockFile = lockDir + "/LCK.." + fs::path(devicePath).filename().string();
    const long locker = lockOwner(lockFile);
    if (runsElsewhere(locker))
        return "locked by process " + std::to_string(locker) + processName(locker) + " (" + lockFile + ")";

    struct stat device {};
    if (::stat(devicePath.c_str(), &device) != 0 || !S_ISCHR(device.st_mode))
        return std::nullopt;
    if (std::optional<long> holder = processWithDeviceOpen(device.st_rdev))
        return "held open by process " + std::to_string(*holder) + processName(*holder);
    return std::nullopt;
}

}  // namespace cellctl::cli
