// The modem served on a real pty and on a TCP port.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <unistd.h>

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/read_until.hpp>
#include <boost/asio/streambuf.hpp>
#include <boost/asio/write.hpp>

#include <cellsim/ServerThread.h>

namespace cellsim {
namespace {

std::string run(const std::string& command)
{
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        return output;
    }
    std::array<char, 256> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe)) {
        output += buffer.data();
    }
    ::pclose(pipe);
    return output;
}

bool pythonHasSerial()
{
    return std::string(CELLSIM_TEST_PYTHON).size() > 0 &&
           std::system((std::string(CELLSIM_TEST_PYTHON) + " -c 'import serial' 2>/dev/null").c_str()) == 0;
}

std::string linkPath(const char* name)
{
    return ::testing::TempDir() + "cellsim-" + std::to_string(::getpid()) + "-" + name;
}

TEST(PtyServer, AnOrdinarySerialClientTalksPlainAt)
{
    if (!pythonHasSerial()) {
        GTEST_SKIP() << "python3 with the serial module is not installed";
    }
    ModemOptions options;
    options.sim = SimStart::PinLocked;
    options.registrationDelay = std::chrono::milliseconds(0);
    ServerSettings settings;
    settings.linkPath = linkPath("client");
    ServerThread server(options, settings);
    server.start();
    const int device = ::open(settings.linkPath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(device, 0);
    EXPECT_TRUE(::isatty(device)) << "the link leads to a terminal device";
    ::close(device);

    const std::string output =
        run(std::string(CELLSIM_TEST_PYTHON) + " " + CELLSIM_TEST_SCRIPTS + "/pty_client.py " + settings.linkPath +
            " ATE0 AT+CPIN? 'AT+CPIN=\"1234\"' AT+CFUN=1 AT+CREG? AT+COPS=3,2 AT+COPS? AT+CGMR");
    EXPECT_EQ(output,
              "ATE0 => OK\n"
              "AT+CPIN? => +CPIN: SIM PIN | OK\n"
              "AT+CPIN=\"1234\" => OK\n"
              "AT+CFUN=1 => OK\n"
              "AT+CREG? => +CREG: 0,1 | OK\n"
              "AT+COPS=3,2 => OK\n"
              "AT+COPS? => +COPS: 0,2,\"46000\",2 | OK\n"
              "AT+CGMR => CELLSIM TD-HSDPA V1.0.0 | OK\n");
}

TEST(PtyServer, StoppingClosesTheDeviceAndARestartServesAgain)
{
    ServerSettings settings;
    settings.linkPath = linkPath("restart");
    ServerThread server(ModemOptions(), settings);
    server.start();
    const int client = ::open(settings.linkPath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(client, 0);

    server.stop();
    pollfd gone{client, POLLIN, 0};
    ASSERT_EQ(::poll(&gone, 1, 10000), 1) << "the client is told the device went away";
    EXPECT_NE(gone.revents & (POLLHUP | POLLERR), 0);
    char byte;
    EXPECT_LE(::read(client, &byte, 1), 0);
    ::close(client);
    EXPECT_NE(::access(settings.linkPath.c_str(), F_OK), 0) << "the link is removed";
    EXPECT_FALSE(server.withModem([](Modem&) {}));

    server.start();
    ASSERT_TRUE(server.running());
    const int again = ::open(settings.linkPath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(again, 0);
    ASSERT_EQ(::write(again, "ATE0\r", 5), 5);
    std::string answer;
    while (answer.find("OK\r\n") == std::string::npos) {
        char buffer[64];
        const ssize_t size = ::read(again, buffer, sizeof(buffer));
        ASSERT_GT(size, 0);
        answer.append(buffer, static_cast<std::size_t>(size));
    }
    EXPECT_EQ(answer, "ATE0\r\r\nOK\r\n");
    ::close(again);
    server.stop();
}

TEST(PtyServer, RefusesToReplaceAFileThatIsNotALink)
{
    const std::string path = linkPath("file");
    FILE* file = std::fopen(path.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    ServerSettings settings;
    settings.linkPath = path;
    ServerThread server(ModemOptions(), settings);
    EXPECT_THROW(server.start(), std::system_error);
    EXPECT_FALSE(server.running());
    EXPECT_EQ(::access(path.c_str(), F_OK), 0) << "the file is still there";
    ::unlink(path.c_str());
}

TEST(TcpServer, ServesTheModemToOneClientAtATime)
{
    ServerSettings settings;
    settings.transport = ServerSettings::Transport::Tcp;
    ServerThread server(ModemOptions(), settings);
    server.start();
    ASSERT_NE(server.port(), 0);

    boost::asio::io_context io;
    auto ask = [&](boost::asio::ip::tcp::socket& socket, const std::string& line) {
        boost::asio::write(socket, boost::asio::buffer(line + "\r"));
        boost::asio::streambuf answer;
        boost::asio::read_until(socket, answer, "OK\r\n");
        return std::string(boost::asio::buffers_begin(answer.data()), boost::asio::buffers_end(answer.data()));
    };
    boost::asio::ip::tcp::socket first(io);
    first.connect({boost::asio::ip::make_address("127.0.0.1"), server.port()});
    EXPECT_EQ(ask(first, "ATE0"), "ATE0\r\r\nOK\r\n");
    EXPECT_EQ(ask(first, "AT+CFUN=1"), "\r\nOK\r\n");

    boost::asio::ip::tcp::socket second(io);
    second.connect({boost::asio::ip::make_address("127.0.0.1"), server.port()});
    EXPECT_EQ(ask(second, "AT+CFUN?"), "\r\n+CFUN: 1\r\n\r\nOK\r\n") << "the modem kept its state";
    boost::system::error_code error;
    char byte;
    first.read_some(boost::asio::buffer(&byte, 1), error);
    EXPECT_TRUE(error) << "the first client was let go";

    EXPECT_TRUE(server.withModem([](Modem& modem) { modem.device().setFunctionality(0); }));
    EXPECT_EQ(ask(second, "AT+CFUN?"), "\r\n+CFUN: 0\r\n\r\nOK\r\n");
    server.stop();
}

}  // namespace
}  // namespace cellsim
