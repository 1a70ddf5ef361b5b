#pragma once

#include <string>
#include <vector>

#include "DeviceRoots.h"
#include "PortProbe.h"

namespace cellctl::cli {

// One serial port of a USB device, as sysfs describes it.
struct TtyPort {
    std::string name;        // "ttyUSB2"
    std::string devicePath;  // "/dev/ttyUSB2"
    int interfaceNumber = -1;
    std::string driver;  // the USB interface's driver: option, cdc_acm, qcserial, ...
    PortProbe probe;     // filled by probeModems()
};

// A USB device with serial ports: a modem or data card.
struct UsbModem {
    std::string usbPath;  // "1-1.2": the port it is plugged into, stable across re-plugging
    std::string vendorId;
    std::string productId;
    std::string manufacturer;
    std::string product;
    std::vector<TtyPort> ports;  // by interface number
};

// Every USB device with tty ports under `roots.sysfs`/class/tty, ordered by
// USB path. Reads sysfs only; opens no device.
std::vector<UsbModem> findModems(const DeviceRoots& roots = DeviceRoots());

}  // namespace cellctl::cli
