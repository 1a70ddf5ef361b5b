#include "UucpLock.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

#include "DataLinkError.h"

namespace cellctl::cli {
namespace {

std::string baseName(const std::string& path)
{
    std::string::size_type slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The pid recorded in a lock file; 0 when it cannot be read.
long lockOwner(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr)
        return 0;
    long pid = 0;
    if (std::fscanf(file, "%ld", &pid) != 1)
        pid = 0;
    std::fclose(file);
    return pid;
}

bool processRuns(long pid) { return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM); }

}  // namespace

std::string uucpLockDirectory()
{
    const char* dir = std::getenv("CELLCTL_LOCK_DIR");
    return dir != nullptr && *dir != '\0' ? dir : "/var/lock";
}

UucpLock::UucpLock(const std::string& devicePath)
{
    std::string path = uucpLockDirectory() + "/LCK.." + baseName(devicePath);
    for (int attempt = 0; attempt < 2; ++attempt) {
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            char text[16];
            int size = std::snprintf(text, sizeof text, "%10ld\n", static_cast<long>(::getpid()));
            bool written = ::write(fd, text, static_cast<size_t>(size)) == size;
            ::close(fd);
            if (!written) {
                ::unlink(path.c_str());
                return;
            }
            m_path = path;
            return;
        }
        if (errno != EEXIST)
            return;  // no lock folder we may write: go on unlocked
        long owner = lockOwner(path);
        if (owner == ::getpid())
            return;  // this process holds it already (its session): that holder releases it
        if (processRuns(owner))
            throw DataLinkError(DataLinkFailure::DeviceBusy, "device busy: process " + std::to_string(owner) +
                                                                 " holds " + devicePath + " (" + path + ")");
        ::unlink(path.c_str());  // stale: its owner is gone
    }
}

UucpLock::~UucpLock()
{
    if (!m_path.empty())
        ::unlink(m_path.c_str());
}

}  // namespace cellctl::cli
