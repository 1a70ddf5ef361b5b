// Opening devices, TCP, several lines on one io_context, and callers on
// other threads.

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <boost/asio/ip/tcp.hpp>
#include <gtest/gtest.h>

#include "DeviceRig.h"

namespace cellctl::at::test {
namespace {

using Query = PhoneLine::QueryType;
using boost::asio::ip::tcp;

int openErrno(AtPhoneLine& line, const std::string& target)
{
    try {
        line.open(target);
    } catch (const std::system_error& error) {
        return error.code().value();
    }
    return 0;
}

TEST(Open, FailuresKeepTheirErrno)
{
    boost::asio::io_context io;
    AtPhoneLine line(io);
    EXPECT_EQ(openErrno(line, "/nonexistent/ttyUSB0"), ENOENT);
    EXPECT_EQ(openErrno(line, "/dev/null"), ENOTTY);
    EXPECT_EQ(openErrno(line, "tcp:localhost"), EINVAL);
    EXPECT_EQ(openErrno(line, "tcp:127.0.0.1:1"), ECONNREFUSED);
    EXPECT_THROW(line.reopen(), std::system_error);
    EXPECT_FALSE(line.isOpen());

    FakePtyDevice pty;
    AtPhoneLineOptions odd;
    odd.baudRate = 12345;
    AtPhoneLine oddLine(io, odd);
    EXPECT_EQ(openErrno(oddLine, pty.slavePath()), EINVAL);
}

TEST(Open, APortHeldByAnotherLineIsBusyUntilItIsClosed)
{
    DeviceRig rig;
    rig.openLine();
    AtPhoneLine second(rig.io);
    EXPECT_EQ(openErrno(second, rig.pty->slavePath()), EBUSY);
    rig.line.close();
    EXPECT_EQ(openErrno(second, rig.pty->slavePath()), 0);
    second.close();
}

TEST(Open, QueriesBeforeOpenAreAnsweredError)
{
    DeviceRig rig;
    rig.line.query(Query::SignalQualityGsm);
    ASSERT_TRUE(rig.runUntilAnswered());
    EXPECT_EQ(rig.delivered, std::vector<Delivered>{queryAnswer(6, "ERROR")});
}

TEST(Tcp, TheDialectRunsOverTcpAndAClosedConnectionIsADeviceLoss)
{
    DeviceRig rig;
    boost::asio::io_context deviceIo;
    tcp::acceptor acceptor(deviceIo, tcp::endpoint(boost::asio::ip::address_v4::loopback(), 0));
    std::string target = "tcp:127.0.0.1:" + std::to_string(acceptor.local_endpoint().port());

    tcp::socket device(deviceIo);
    rig.line.open(target);
    acceptor.accept(device);
    device.non_blocking(true);
    rig.playDeviceOn(device.native_handle());
    ASSERT_EQ(rig.nextCommand(), "ATE0");
    rig.deviceAnswers({"OK"});
    rig.line.query(Query::PhoneFunctionality);
    ASSERT_EQ(rig.nextCommand(), "AT+CFUN?");
    rig.deviceAnswers({"+CFUN: 1", "OK"});
    ASSERT_TRUE(rig.runUntilAnswered());
    EXPECT_EQ(rig.delivered.back(), queryAnswer(165, "+CFUN: 1\nOK"));

    rig.line.query(Query::SignalQualityGsm);
    ASSERT_EQ(rig.nextCommand(), "AT+CSQ");
    device.close();
    ASSERT_TRUE(rig.runUntilAnswered());
    EXPECT_EQ(rig.delivered.back(), queryAnswer(6, "ERROR"));
    EXPECT_EQ(rig.events.back().first, ChannelEvent::DeviceLost);

    tcp::socket again(deviceIo);
    rig.line.reopen();
    acceptor.accept(again);
    again.non_blocking(true);
    rig.playDeviceOn(again.native_handle());
    EXPECT_EQ(rig.nextCommand(), "ATE0");
}

TEST(Threads, CommandsFromAnyThreadAreAnsweredOnTheThreadRunningTheIoContext)
{
    DeviceRig rig;
    rig.openLine();
    std::vector<std::thread::id> answeredOn;
    rig.line.connectQueryResult(
        [&](PhoneLine::QueryType, const std::string&) { answeredOn.push_back(std::this_thread::get_id()); });

    std::thread caller([&] {
        rig.line.query(Query::SignalQualityGsm);
        rig.line.query(Query::PhoneFunctionality);
    });
    caller.join();
    ASSERT_EQ(rig.nextCommand(), "AT+CSQ");
    rig.deviceAnswers({"+CSQ: 2,99", "OK"});
    ASSERT_EQ(rig.nextCommand(), "AT+CFUN?");
    rig.deviceAnswers({"+CFUN: 1", "OK"});
    ASSERT_TRUE(rig.runUntilAnswered());
    EXPECT_EQ(answeredOn, std::vector<std::thread::id>(2, std::this_thread::get_id()));
}

TEST(Threads, OneIoContextServesSeveralLines)
{
    DeviceRig rig;
    rig.openLine();
    FakePtyDevice otherPty;
    AtPhoneLine other(rig.io, patientTimeouts());
    std::vector<std::string> otherAnswers;
    other.connectQueryResult([&](PhoneLine::QueryType, const std::string& text) { otherAnswers.push_back(text); });
    other.open(otherPty.slavePath());
    ASSERT_EQ(rig.nextCommandOn(otherPty.master()), "ATE0");
    rig.sendOn(otherPty.master(), "\r\nOK\r\n");

    rig.line.query(Query::SignalQualityGsm);
    other.query(Query::SignalQualityGsm);
    ASSERT_EQ(rig.nextCommand(), "AT+CSQ");
    ASSERT_EQ(rig.nextCommandOn(otherPty.master()), "AT+CSQ");
    rig.sendOn(otherPty.master(), "\r\n+CSQ: 20,99\r\n\r\nOK\r\n");
    rig.deviceAnswers({"+CSQ: 10,99", "OK"});
    ASSERT_TRUE(rig.runUntil([&] { return rig.line.pendingCommands() == 0 && other.pendingCommands() == 0; }));
    EXPECT_EQ(rig.delivered, std::vector<Delivered>{queryAnswer(6, "+CSQ: 10,99\nOK")});
    EXPECT_EQ(otherAnswers, std::vector<std::string>{"+CSQ: 20,99\nOK"});
    other.close();
}

TEST(Lifetime, DestroyingTheLineWithCommandsInFlightIsSafe)
{
    boost::asio::io_context io;
    FakePtyDevice pty;
    auto line = std::make_unique<AtPhoneLine>(io);
    int answers = 0;
    line->connectQueryResult([&](PhoneLine::QueryType, const std::string&) { ++answers; });
    line->open(pty.slavePath());
    line->query(Query::SignalQualityGsm);
    io.poll();
    line->query(Query::PhoneFunctionality);
    line.reset();
    io.restart();
    io.poll();
    EXPECT_EQ(answers, 0);
}

}  // namespace
}  // namespace cellctl::at::test
