// Device discovery on a fake sysfs tree describing a three-port data card,
// with ptys standing in for its ports: a silent diagnostics port, a port that
// another program holds open, and the AT port (a simulated modem).
#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cellsim/ServerThread.h>

#include "devices/DeviceReport.h"

namespace cellctl::cli {
namespace {

namespace fs = std::filesystem;

void writeFile(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text << "\n";
}

// A data card at USB 1-1.2 with ports ttyUSB0..2 on interfaces 0..2 (driver
// option), plus a built-in UART that is no modem; /dev entries link to `ports`.
void writeFakeTree(const fs::path& root, const std::vector<std::string>& ports)
{
    const fs::path card = root / "sys/devices/pci0000:00/0000:00:1d.0/usb1/1-1/1-1.2";
    writeFile(card / "idVendor", "19d2");
    writeFile(card / "idProduct", "0117");
    writeFile(card / "manufacturer", "Sim Cards Ltd");
    writeFile(card / "product", "TD Data Card");
    fs::create_directories(root / "sys/bus/usb/drivers/option");
    fs::create_directories(root / "sys/class/tty");
    fs::create_directories(root / "dev");
    for (size_t i = 0; i < ports.size(); ++i) {
        const std::string name = "ttyUSB" + std::to_string(i);
        const fs::path interface = card / ("1-1.2:1." + std::to_string(i));
        writeFile(interface / "bInterfaceNumber", "0" + std::to_string(i));
        fs::create_directory_symlink(root / "sys/bus/usb/drivers/option", interface / "driver");
        writeFile(interface / name / "tty" / name / "dev", "188:" + std::to_string(i));
        fs::create_directory_symlink(interface / name / "tty" / name, root / "sys/class/tty" / name);
        fs::create_symlink(ports[i], root / "dev" / name);
    }
    const fs::path uart = root / "sys/devices/platform/serial8250/tty/ttyS0";
    writeFile(uart / "dev", "4:64");
    fs::create_directory_symlink(uart, root / "sys/class/tty/ttyS0");
}

// A pty nobody answers on: the test keeps its master open and never reads it.
struct SilentPty {
    SilentPty() : master(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC))
    {
        ::grantpt(master);
        ::unlockpt(master);
    }
    ~SilentPty() { ::close(master); }
    std::string path() const { return ::ptsname(master); }
    int master;
};

// Another program holding a port open: `sleep` with the port as its stdin.
struct Holder {
    explicit Holder(const std::string& port)
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, port.c_str(), O_RDWR | O_NOCTTY, 0);
        char sleep[] = "sleep";
        char forever[] = "600";
        char* argv[] = {sleep, forever, nullptr};
        if (::posix_spawnp(&pid, "sleep", &actions, nullptr, argv, environ) != 0)
            pid = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Holder()
    {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
    pid_t pid = -1;
};

// A simulated modem on a pty that counts the lines it receives.
struct CountingModem {
    CountingModem() : server(cellsim::ModemOptions())
    {
        server.start();
        server.withModem(
            [this](cellsim::Modem& modem) { modem.setTrace([this](char, const std::string&) { ++lines; }); });
    }
    cellsim::ServerThread server;
    std::atomic<int> lines{0};
};

// True once `pid` has the file open (the spawned program opens it after exec).
bool holdsOpen(pid_t pid, const std::string& path)
{
    for (int wait = 0; wait < 500; ++wait) {
        std::error_code error;
        for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
            if (fs::read_symlink(fd.path(), error) == path)
                return true;
        }
        ::usleep(10000);
    }
    return false;
}

TEST(Devices, FindsTheAtPortSkipsTheSilentOneAndLeavesTheHeldOneAlone)
{
    const fs::path root = fs::path(::testing::TempDir()) / ("devices-" + std::to_string(::getpid()));
    fs::remove_all(root);
    SilentPty diagnostics;
    CountingModem held;
    CountingModem atPort;
    writeFakeTree(root, {diagnostics.path(), held.server.slavePath(), atPort.server.slavePath()});
    Holder otherProgram(held.server.slavePath());
    ASSERT_TRUE(holdsOpen(otherProgram.pid, held.server.slavePath()));
    fs::create_directories(root / "lock");
    DeviceRoots roots{(root / "sys").string(), (root / "dev").string(), (root / "lock").string()};

    std::vector<UsbModem> modems = findModems(roots);
    ASSERT_EQ(modems.size(), 1u) << "the UART is no USB modem";
    const UsbModem& card = modems[0];
    EXPECT_EQ(card.usbPath, "1-1.2");
    EXPECT_EQ(card.vendorId + ":" + card.productId, "19d2:0117");
    EXPECT_EQ(card.product, "TD Data Card");
    ASSERT_EQ(card.ports.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(card.ports[i].devicePath, (root / "dev").string() + "/ttyUSB" + std::to_string(i));
        EXPECT_EQ(card.ports[i].interfaceNumber, i);
        EXPECT_EQ(card.ports[i].driver, "option");
    }

    probeModems(modems, kProbeLimit, roots);
    const nlohmann::json report = devicesJson(modems);
    EXPECT_EQ(report[0]["ports"][0]["probe"], "silent");
    EXPECT_EQ(report[0]["ports"][1]["probe"], "busy");
    EXPECT_NE(report[0]["ports"][1]["detail"].get<std::string>().find(std::to_string(otherProgram.pid)),
              std::string::npos);
    EXPECT_EQ(report[0]["ports"][2]["probe"], "at");
    EXPECT_EQ(held.lines, 0) << "the held port must not be written to";
    EXPECT_GT(atPort.lines, 0);
    EXPECT_EQ(firstAtPort(modems), card.ports[2].devicePath);
    EXPECT_EQ(firstDataPort(modems), std::nullopt) << "one AT port: the data call shares it";
    std::ostringstream text;
    renderDevices(text, modems);
    EXPECT_NE(text.str().find("USB 1-1.2: 19d2:0117 Sim Cards Ltd TD Data Card"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("ttyUSB1 interface 1  option     busy, not probed: held open by process"),
              std::string::npos)
        << text.str();

    // A UUCP lock of a live process makes the AT port busy too, again untouched.
    const int linesBefore = atPort.lines;
    writeFile(root / "lock/LCK..ttyUSB2", std::to_string(otherProgram.pid));
    const PortProbe locked = probePort(card.ports[2].devicePath, kProbeLimit, roots.lockDir);
    EXPECT_EQ(locked.state, PortState::Busy);
    EXPECT_NE(locked.detail.find("locked by process"), std::string::npos) << locked.detail;
    EXPECT_EQ(atPort.lines, linesBefore);

    fs::remove_all(root);
}

}  // namespace
}  // namespace cellctl::cli
