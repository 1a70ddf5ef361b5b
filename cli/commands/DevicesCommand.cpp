// cellctl devices: the USB modems present, their ports, and which port
// answers AT, from sysfs and a short probe of each port that no other program
// holds.
#include "Commands.h"
#include "devices/DeviceReport.h"

namespace cellctl::cli {

void runDevices(StandaloneContext& c) { showDevices(c.out, deviceRootsFromEnvironment()); }

}  // namespace cellctl::cli
