#include "DeviceReport.h"

#include <iomanip>
#include <ostream>
#include <sstream>

#include "Output.h"

namespace cellctl::cli {
namespace {

std::string modemTitle(const UsbModem& modem)
{
    std::string title = modem.vendorId + ":" + modem.productId;
    for (const std::string* text : {&modem.manufacturer, &modem.product}) {
        if (!text->empty())
            title += " " + *text;
    }
    return title;
}

std::string portOutcome(const PortProbe& probe)
{
    switch (probe.state) {
    case PortState::At:
        return probe.detail.empty() ? "AT port" : "AT port: " + probe.detail;
    case PortState::Silent:
        return "no AT answer (" + probe.detail + ")";
    case PortState::Busy:
        return "busy, not probed: " + probe.detail;
    case PortState::Unusable:
        return "cannot be opened: " + probe.detail;
    case PortState::NotProbed:
        break;
    }
    return "not probed";
}

// The card and port of the first port that answered AT.
std::optional<std::pair<const UsbModem*, const TtyPort*>> firstAnswering(const std::vector<UsbModem>& modems)
{
    for (const UsbModem& modem : modems) {
        for (const TtyPort& port : modem.ports) {
            if (port.probe.state == PortState::At)
                return std::make_pair(&modem, &port);
        }
    }
    return std::nullopt;
}

}  // namespace

void probeModems(std::vector<UsbModem>& modems, std::chrono::milliseconds limitPerPort, const DeviceRoots& roots)
{
    for (UsbModem& modem : modems) {
        for (TtyPort& port : modem.ports)
            port.probe = probePort(port.devicePath, limitPerPort, roots.lockDir);
    }
}

nlohmann::json devicesJson(const std::vector<UsbModem>& modems)
{
    nlohmann::json list = nlohmann::json::array();
    for (const UsbModem& modem : modems) {
        nlohmann::json ports = nlohmann::json::array();
        for (const TtyPort& port : modem.ports) {
            ports.push_back({{"device", port.devicePath},
                             {"interface", port.interfaceNumber},
                             {"driver", port.driver},
                             {"probe", portStateName(port.probe.state)},
                             {"detail", port.probe.detail}});
        }
        list.push_back({{"usb_path", modem.usbPath},
                        {"vendor_id", modem.vendorId},
                        {"product_id", modem.productId},
                        {"manufacturer", modem.manufacturer},
                        {"product", modem.product},
                        {"ports", ports}});
    }
    return list;
}

void renderDevices(std::ostream& out, const std::vector<UsbModem>& modems)
{
    if (modems.empty()) {
        out << "No USB modem found.\n";
        return;
    }
    for (const UsbModem& modem : modems) {
        out << "USB " << modem.usbPath << ": " << modemTitle(modem) << "\n";
        for (const TtyPort& port : modem.ports) {
            out << "  " << std::left << std::setw(16) << port.devicePath << " interface " << std::setw(2)
                << port.interfaceNumber << " " << std::setw(10) << (port.driver.empty() ? "?" : port.driver) << " "
                << portOutcome(port.probe) << "\n";
        }
    }
}

std::optional<std::string> firstAtPort(const std::vector<UsbModem>& modems)
{
    if (auto found = firstAnswering(modems))
        return found->second->devicePath;
    return std::nullopt;
}

std::optional<std::string> firstDataPort(const std::vector<UsbModem>& modems)
{
    auto found = firstAnswering(modems);
    if (!found)
        return std::nullopt;
    for (const TtyPort& port : found->first->ports) {
        if (port.probe.state == PortState::At && &port != found->second)
            return port.devicePath;
    }
    return std::nullopt;
}

std::optional<AutoDevice> chooseAutoDevice(const DeviceRoots& roots)
{
    std::vector<UsbModem> modems = findModems(roots);
    probeModems(modems, kProbeLimit, roots);
    auto found = firstAnswering(modems);
    if (!found)
        return std::nullopt;
    const auto& [modem, port] = *found;
    return AutoDevice{port->devicePath, firstDataPort(modems),
                      port->devicePath + " (" + modemTitle(*modem) + " at USB " + modem->usbPath + ")"};
}

void showDevices(Output& out, const DeviceRoots& roots)
{
    std::vector<UsbModem> modems = findModems(roots);
    probeModems(modems, kProbeLimit, roots);
    out.data("modems") = devicesJson(modems);
    std::ostringstream text;
    renderDevices(text, modems);
    std::istringstream lines(text.str());
    for (std::string line; std::getline(lines, line);)
        out.say(line);
}

}  // namespace cellctl::cli
