// cellsim: serves a simulated modem on a pty or TCP port until interrupted.
#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>
#include <memory>

#include <boost/asio/io_context.hpp>
#include <boost/asio/signal_set.hpp>

#include <cellsim/CliOptions.h>
#include <cellsim/PtyServer.h>
#include <cellsim/TcpServer.h>

namespace {

// Bytes outside printable ASCII shown as \xHH, so a trace line stays one line.
std::string printable(const std::string& line)
{
    std::string text;
    for (unsigned char c : line) {
        if (c >= 0x20 && c < 0x7F) {
            text += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof(escaped), "\\x%02X", c);
            text += escaped;
        }
    }
    return text;
}

void traceTo(cellsim::Modem& modem, const std::string& port = std::string())
{
    modem.setTrace([port](char direction, const std::string& line) {
        std::cerr << port << direction << ' ' << printable(line) << std::endl;
    });
}

}  // namespace

int main(int argc, char** argv)
{
    const cellsim::CliParse parsed = cellsim::parseCliArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.settings) {
        std::cerr << "cellsim: " << parsed.error << "\nTry 'cellsim --help'.\n";
        return 2;
    }
    const cellsim::CliSettings& settings = *parsed.settings;
    if (settings.help) {
        std::cout << cellsim::cliUsage();
        return 0;
    }
    if (settings.version) {
        std::cout << "cellsim " << settings.modem.revision << "\n";
        return 0;
    }
    try {
        boost::asio::io_context io;
        std::unique_ptr<cellsim::PtyServer> pty;
        std::unique_ptr<cellsim::TcpServer> tcp;
        if (settings.server.transport == cellsim::ServerSettings::Transport::Tcp) {
            tcp =
                std::make_unique<cellsim::TcpServer>(io, settings.modem, settings.server.port, settings.server.address);
            std::cout << settings.server.address << ":" << tcp->port() << std::endl;
            if (settings.trace) {
                traceTo(tcp->modem());
            }
        } else {
            pty = std::make_unique<cellsim::PtyServer>(io, settings.modem, settings.server.linkPath,
                                                       settings.server.dataLinkPath);
            std::cout << pty->slavePath() << std::endl;
            if (pty->dataPortModem()) {
                std::cout << pty->dataPortPath() << std::endl;
            }
            if (!pty->linkPath().empty()) {
                std::cerr << "cellsim: linked at " << pty->linkPath() << std::endl;
            }
            if (!pty->dataLinkPath().empty()) {
                std::cerr << "cellsim: data port linked at " << pty->dataLinkPath() << std::endl;
            }
            if (settings.trace) {
                traceTo(pty->modem());
                if (pty->dataPortModem()) {
                    traceTo(*pty->dataPortModem(), "data ");
                }
            }
        }
        boost::asio::signal_set signals(io, SIGINT, SIGTERM);
        signals.async_wait([&](const boost::system::error_code&, int) {
            if (pty) {
                pty->stop();
            }
            if (tcp) {
                tcp->stop();
            }
            io.stop();
        });
        io.run();
    } catch (const std::exception& error) {
        std::cerr << error.what() << std::endl;
        return 1;
    }
    return 0;
}
