#include "LinkRecord.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sys/stat.h>

#include <nlohmann/json.hpp>

namespace cellctl::cli {
namespace {

std::string recordPath(const std::string& device)
{
    std::string name = device;
    for (char& c : name) {
        if (c == '/')
            c = '_';
    }
    return linkRecordDirectory() + "/" + name + ".json";
}

std::string resolved(const std::string& path)
{
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr)
        return path;
    std::string result = real;
    std::free(real);
    return result;
}

bool sessionRuns(pid_t pid) { return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM); }

std::optional<LinkRecord> readRecord(const std::string& path)
{
    std::ifstream file(path);
    nlohmann::json json = nlohmann::json::parse(file, nullptr, false);
    if (json.is_discarded() || !json.is_object())
        return std::nullopt;
    LinkRecord record;
    record.pid = json.value("pid", 0);
    record.device = json.value("device", "");
    record.dataDevice = json.value("data_device", "");
    record.link.interface = json.value("interface", "");
    record.link.localAddress = json.value("address", "");
    record.link.peerAddress = json.value("peer", "");
    record.link.dnsServers = json.value("dns", std::vector<std::string>{});
    record.upSince = json.value("up_since", 0LL);
    return record;
}

}  // namespace

std::string linkRecordDirectory()
{
    const char* dir = std::getenv("CELLCTL_RUN_DIR");
    return dir != nullptr && *dir != '\0' ? dir : "/run/cellctl";
}

bool writeLinkRecord(const LinkRecord& record)
{
    ::mkdir(linkRecordDirectory().c_str(), 0755);
    nlohmann::json json = {{"pid", record.pid},
                           {"device", record.device},
                           {"data_device", record.dataDevice},
                           {"interface", record.link.interface},
                           {"address", record.link.localAddress},
                           {"peer", record.link.peerAddress},
                           {"dns", record.link.dnsServers},
                           {"up_since", record.upSince}};
    std::string path = recordPath(record.device);
    std::string temporary = path + ".new";
    {
        std::ofstream file(temporary, std::ios::trunc);
        file << json.dump(2) << "\n";
        if (!file)
            return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

void removeLinkRecord(const std::string& device) { std::remove(recordPath(device).c_str()); }

std::vector<LinkRecord> activeLinkRecords()
{
    std::vector<LinkRecord> records;
    std::string dir = linkRecordDirectory();
    DIR* folder = ::opendir(dir.c_str());
    if (folder == nullptr)
        return records;
    while (dirent* entry = ::readdir(folder)) {
        std::string name = entry->d_name;
        if (name.size() < 5 || name.compare(name.size() - 5, 5, ".json") != 0)
            continue;
        std::string path = dir + "/" + name;
        std::optional<LinkRecord> record = readRecord(path);
        if (record && sessionRuns(record->pid))
            records.push_back(*record);
        else
            std::remove(path.c_str());
    }
    ::closedir(folder);
    return records;
}

std::optional<LinkRecord> activeLinkRecord(const std::string& device)
{
    for (const LinkRecord& record : activeLinkRecords()) {
        if (record.device == device || resolved(record.device) == resolved(device))
            return record;
    }
    return std::nullopt;
}

}  // namespace cellctl::cli
