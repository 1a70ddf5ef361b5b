// A host program that sees only the installed AT channel and library.
#include <cellctl/at/AtPhoneLine.h>
#include <cellctl/cellctl.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <system_error>

int main()
{
    boost::asio::io_context io;
    cellctl::at::AtPhoneLine line(io);
    int openError = 0;
    try {
        line.open("/nonexistent/ttyUSB0");
    } catch (const std::system_error& error) {
        openError = error.code().value();
    }
    std::string answer;
    line.connectQueryResult([&](PhoneLine::QueryType, const std::string& text) { answer = text; });
    line.query(PhoneLine::SignalQualityGsm);
    io.run();
    if (openError != ENOENT || answer != "ERROR") {
        std::fprintf(stderr, "expected ENOENT and ERROR, got %d and \"%s\"\n", openError, answer.c_str());
        return 1;
    }
    std::puts("at-host: ok");
    return 0;
}
