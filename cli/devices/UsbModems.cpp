#include "UsbModems.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

namespace cellctl::cli {
namespace {

namespace fs = std::filesystem;

std::string attribute(const fs::path& dir, const char* name)
{
    std::ifstream file(dir / name);
    std::string value;
    std::getline(file, value);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\r'))
        value.pop_back();
    return value;
}

std::string linkName(const fs::path& link)
{
    std::error_code error;
    const fs::path target = fs::read_symlink(link, error);
    return error ? "" : target.filename().string();
}

// The USB interface and USB device above a tty in the sysfs device tree:
// .../1-1.2 (idVendor) / 1-1.2:1.0 (bInterfaceNumber) / [ttyUSB0/] tty/ttyUSB0.
struct UsbAncestors {
    fs::path interface;
    fs::path device;
};

bool hasAttribute(const fs::path& dir, const char* name)
{
    std::error_code error;
    return fs::exists(dir / name, error);
}

std::optional<UsbAncestors> usbAncestors(const fs::path& ttyDir)
{
    UsbAncestors found;
    for (fs::path dir = ttyDir.parent_path(); dir.has_relative_path(); dir = dir.parent_path()) {
        if (found.interface.empty() && hasAttribute(dir, "bInterfaceNumber"))
            found.interface = dir;
        else if (!found.interface.empty() && hasAttribute(dir, "idVendor")) {
            found.device = dir;
            return found;
        }
    }
    return std::nullopt;
}

int interfaceNumber(const fs::path& interface)
{
    try {
        return std::stoi(attribute(interface, "bInterfaceNumber"), nullptr, 16);
    } catch (const std::exception&) {
        return -1;
    }
}

}  // namespace

std::vector<UsbModem> findModems(const DeviceRoots& roots)
{
    std::map<fs::path, UsbModem> byDevice;
    std::error_code error;
    for (fs::directory_iterator entry(fs::path(roots.sysfs) / "class" / "tty", error), end; !error && entry != end;
         entry.increment(error)) {
        std::error_code resolveError;
        const fs::path ttyDir = fs::canonical(entry->path(), resolveError);
        if (resolveError)
            continue;
        const std::optional<UsbAncestors> usb = usbAncestors(ttyDir);
        if (!usb)
            continue;  // a console, a built-in UART, a pty: not USB
        UsbModem& modem = byDevice[usb->device];
        if (modem.usbPath.empty()) {
            modem.usbPath = usb->device.filename().string();
            modem.vendorId = attribute(usb->device, "idVendor");
            modem.productId = attribute(usb->device, "idProduct");
            modem.manufacturer = attribute(usb->device, "manufacturer");
            modem.product = attribute(usb->device, "product");
        }
        TtyPort port;
        port.name = entry->path().filename().string();
        port.devicePath = roots.dev + "/" + port.name;
        port.interfaceNumber = interfaceNumber(usb->interface);
        port.driver = linkName(usb->interface / "driver");
        modem.ports.push_back(port);
    }

    std::vector<UsbModem> modems;
    for (auto& [path, modem] : byDevice) {
        std::sort(modem.ports.begin(), modem.ports.end(), [](const TtyPort& a, const TtyPort& b) {
            return a.interfaceNumber != b.interfaceNumber ? a.interfaceNumber < b.interfaceNumber : a.name < b.name;
        });
        modems.push_back(std::move(modem));
    }
    std::sort(modems.begin(), modems.end(), [](const UsbModem& a, const UsbModem& b) { return a.usbPath < b.usbPath; });
    return modems;
}

}  // namespace cellctl::cli
