#pragma once

#include <chrono>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "DeviceRoots.h"
#include "UsbModems.h"

namespace cellctl::cli {

class Output;

// Probes every port of every modem, one after the other, each within `limitPerPort`.
void probeModems(std::vector<UsbModem>& modems, std::chrono::milliseconds limitPerPort = kProbeLimit,
                 const DeviceRoots& roots = DeviceRoots());

// [{"usb_path", "vendor_id", "product_id", "manufacturer", "product",
//   "ports": [{"device", "interface", "driver", "probe", "detail"}]}]
nlohmann::json devicesJson(const std::vector<UsbModem>& modems);
// One line per modem, then one indented line per port.
void renderDevices(std::ostream& out, const std::vector<UsbModem>& modems);

// The first port, in USB path and interface order, that answered AT.
std::optional<std::string> firstAtPort(const std::vector<UsbModem>& modems);
// The modem port for the data call: another port of the same card as
// firstAtPort() that answered AT. Nothing when the card has a single AT port
// (the call then goes over the AT port).
std::optional<std::string> firstDataPort(const std::vector<UsbModem>& modems);

// What `--device auto` chooses, and a sentence saying so for the user.
struct AutoDevice {
    std::string atPort;
    std::optional<std::string> dataPort;
    std::string description;  // "/dev/ttyUSB2 (19d2:0117 ZTE MF190 at USB 1-1.2)"
};
// Finds and probes the modems; nothing when no port answers AT.
std::optional<AutoDevice> chooseAutoDevice(const DeviceRoots& roots = DeviceRoots());

// The `devices` command: finds and probes the modems and reports them, as
// text or under "modems" in the JSON document.
void showDevices(Output& out, const DeviceRoots& roots = DeviceRoots());

}  // namespace cellctl::cli
