// The smallest complete host of libcellctl on a real AT channel: the library's
// start-up order, a few callbacks, power on, wait for the network, read the
// operator, power off, and the shut-down order. The start-up and shut-down are
// written out here to show them; CAssistorSet does both in one call each.
//
//   minimal_host /dev/ttyUSB0        (or a pty path, or tcp:HOST:PORT)
#include <cstdio>
#include <string>
#include <system_error>

#include <boost/asio/io_context.hpp>
#include <boost/asio/steady_timer.hpp>

#include <cellctl/at/AtPhoneLine.h>
#include <cellctl/cellctl.h>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DEVICE|PTY|tcp:HOST:PORT\n", argv[0]);
        return 2;
    }
    boost::asio::io_context io;

    // First the PhoneLine: here the AT channel, opened on the device.
    cellctl::at::AtPhoneLine line(io);
    try {
        line.open(argv[1]);
    } catch (const std::system_error& error) {
        std::fprintf(stderr, "cannot open %s: %s\n", argv[1], error.what());
        return 1;
    }

    // Then the SIM, operator and mode assistors, and after them the power
    // assistor that borrows them.
    CUsimAssistor usim;
    CCopsAssistor cops;
    CModeAssistor mode;
    CPowerAssistorHsdpa power(&usim, &cops, &mode);

    // Every assistor gets the line, in the order they were made; the
    // packet-data pair is wired by hand.
    usim.SetPhoneLine(&line);
    cops.SetPhoneLine(&line);
    mode.SetPhoneLine(&line);
    power.SetPhoneLine(&line);
    CConnectionHelper connectionHelper;
    CConnectionAssistor connection(&connectionHelper);
    connectionHelper.SetConnectionAssistor(&connection);
    connectionHelper.SetPhoneLine(&line);
    connectionHelper.Initialize();

    // Callbacks next. They run on the thread that runs `io`, one answer at a time.
    int result = 1;
    bool asked = false;
    power.connectPowerOnResult([](bool ok) { std::printf("power on: %s\n", ok ? "ok" : "refused"); });
    usim.connectNeedCheckPinResult([](bool needed) { std::printf("SIM: %s\n", needed ? "PIN needed" : "ready"); });
    usim.connectQuerySimCardExistResult([](bool absent) { std::printf("SIM: %s\n", absent ? "absent" : "present"); });
    power.connectRegistrationResult([&](int status) {
        std::printf("registration: %d\n", status);
        if ((status == 1 || status == 5) && !asked) {
            asked = true;
            cops.QueryCops();
        }
    });
    cops.connectQueryCopsResult([&](const CCopsInfo& current) {
        std::printf("operator: %s\n", current.GetOperatorNumericName().c_str());
        power.PowerOff();
    });
    power.connectPowerOffResult([&](bool ok) {
        std::printf("power off: %s\n", ok ? "ok" : "refused");
        result = ok ? 0 : 1;
        io.stop();
    });

    // Last, power on. Registration arrives as a report (or answer a query).
    power.PowerOn();
    power.QueryCregStatus();

    // Never wait forever for a device.
    boost::asio::steady_timer limit(io, std::chrono::seconds(30));
    limit.async_wait([&io](const boost::system::error_code& error) {
        if (!error) {
            std::fprintf(stderr, "no network within 30 s\n");
            io.stop();
        }
    });
    io.run();

    // Shut-down: unbind every helper, then the objects go in reverse order of
    // creation (power assistor, the other assistors, the line last).
    connection.ResetPhoneLine();
    power.ResetPhoneLine();
    mode.ResetPhoneLine();
    cops.ResetPhoneLine();
    usim.ResetPhoneLine();
    line.close();
    return result;
}
