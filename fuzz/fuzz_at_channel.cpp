// Fuzzes the AT channel's framing and routing: the line framer and the command
// queue, wired as AtPhoneLine wires them but without I/O, are fed arbitrary
// device bytes in arbitrary chunks while the whole library (LibraryRig) has
// commands in flight, with timeouts, device loss and reopening at arbitrary
// moments. Answers reach the library's real parsers and callbacks.
//
// Checked besides the sanitizers:
// - every host command gets exactly one answer, in order, with its own kind
//   and code, and none is left unanswered when the line closes;
// - no line written to the device carries CR, LF, NUL, Ctrl-Z or ESC;
// - the framer never holds more than its line limit;
// - the timer is restarted for every command written.
//
// Input: records separated by the byte 0x1E, each one character then its body:
//   d<bytes>         the device sends these bytes (one read)
//   r<n>:<argument>  host request n of the library (see LibraryRig)
//   q<code>          a raw query;  m<code>:<text>  a raw modify
//   p                the executor runs the posted commands
//   t                the command timer expires (if it runs)
//   l                the device is lost;  o  the line is (re)opened;  c  closed
// Other first characters pick one of these by value.

#include <cstdint>
#include <cstdlib>
#include <deque>
#include <string>

#include <cellctl/at/CommandQueue.h>
#include <cellctl/at/LineFramer.h>
#include <cellctl/framework/PhoneLine.h>
#include <cellctl/text/Numbers.h>

#include "LibraryRig.h"

namespace {

using cellctl::at::AtPhoneLineOptions;
using cellctl::at::ChannelEvent;
using cellctl::at::CommandQueue;
using cellctl::at::LineFramer;
using cellctl::at::Request;
using cellctl::at::RequestKind;

void require(bool condition)
{
    if (!condition)
        std::abort();
}

constexpr std::size_t kMaxLineLength = 256;

AtPhoneLineOptions channelOptions()
{
    AtPhoneLineOptions options;
    options.maxLineLength = kMaxLineLength;
    return options;
}

// A PhoneLine whose commands go, like AtPhoneLine's, through a posted queue
// into the CommandQueue; answers come back on the PhoneLine signals.
class FuzzedChannel : public PhoneLine {
public:
    FuzzedChannel()
        : m_framer(kMaxLineLength, LineFramer::Sinks{[this](const std::string& line) { m_queue.onLine(line); },
                                                     [this](std::size_t, bool) { m_queue.note("overlong"); }}),
          m_queue(hooks(), channelOptions())
    {
        m_queue.open(ChannelEvent::Opened, "fuzz");
    }

    void query(QueryType code) override { m_posted.push_back(Request{RequestKind::Query, code, std::string()}); }
    void modify(QueryType code, const std::string& text) override
    {
        m_posted.push_back(Request{RequestKind::Modify, code, text});
    }

    void runPosted()
    {
        // Requests posted by callbacks during this run wait for the next one.
        std::deque<Request> batch;
        batch.swap(m_posted);
        for (Request& request : batch) {
            m_awaiting.push_back(request);
            m_queue.submit(std::move(request));
        }
    }

    void deviceSends(const std::string& bytes)
    {
        if (!m_queue.isOpen())
            return;  // no device: nothing is read until the line opens again
        m_framer.feed(bytes.data(), bytes.size());
        require(m_framer.bufferedBytes() <= kMaxLineLength);
    }

    void timerExpires()
    {
        if (!m_timerRunning)
            return;
        m_timerRunning = false;
        m_queue.onTimeout();
    }

    void deviceLost()
    {
        m_timerRunning = false;
        m_queue.shutDown(ChannelEvent::DeviceLost, "fuzz");
        require(m_awaiting.empty());
    }

    void close()
    {
        m_timerRunning = false;
        if (m_queue.isOpen())
            m_queue.shutDown(ChannelEvent::Closed, "fuzz");
        require(m_awaiting.empty());
    }

    void reopen()
    {
        close();
        m_framer.reset();
        m_queue.open(ChannelEvent::Reopened, "fuzz");
    }

    // A command written has its timer running by the time control returns.
    void checkSettled() const { require(!m_sentSinceTimer); }

    // Everything posted is submitted and the line closed: nothing may be left.
    void finish()
    {
        runPosted();
        close();
        runPosted();
        require(m_awaiting.empty());
    }

private:
    CommandQueue::Hooks hooks()
    {
        CommandQueue::Hooks hooks;
        hooks.write = [this](const std::string& line) {
            require(line.find_first_of(std::string("\r\n\0\x1a\x1b", 5)) == std::string::npos);
            m_sentSinceTimer = true;
        };
        hooks.startTimer = [this](std::chrono::milliseconds timeout) {
            require(timeout.count() > 0);
            m_timerRunning = true;
            m_sentSinceTimer = false;
        };
        hooks.stopTimer = [this] { m_timerRunning = false; };
        hooks.trace = [](const std::string& line) {
            require(line.size() >= 2 && (line[0] == '>' || line[0] == '<' || line[0] == '!') && line[1] == ' ');
            for (unsigned char c : line)
                require(c >= 0x20 && c != 0x7f);
        };
        hooks.answer = [this](const Request& request, const std::string& text) {
            require(!m_awaiting.empty());
            const Request& expected = m_awaiting.front();
            require(request.kind == expected.kind && request.code == expected.code && request.text == expected.text);
            m_awaiting.pop_front();
            auto code = static_cast<QueryType>(request.code);
            if (request.kind == RequestKind::Query)
                deliverQueryResult(code, text);
            else
                deliverModifyResult(code, text);
        };
        hooks.report = [this](int code, const std::string& text) {
            deliverModifyResult(static_cast<QueryType>(code), text);
        };
        hooks.status = [](ChannelEvent, const std::string&) {};
        return hooks;
    }

    LineFramer m_framer;
    CommandQueue m_queue;
    std::deque<Request> m_posted;
    std::deque<Request> m_awaiting;  // submitted, not answered yet
    bool m_timerRunning = false;
    bool m_sentSinceTimer = false;
};

void play(FuzzedChannel& channel, cellctl::fuzz::LibraryRig& rig, const std::string& record)
{
    if (record.empty())
        return;
    const std::string body = record.substr(1);
    const std::size_t colon = body.find(':');
    const int number = cellctl::text::readLeadingInt(body.substr(0, colon));
    const std::string text = colon == std::string::npos ? std::string() : body.substr(colon + 1);

    static const char kKinds[] = "drqmptloc";
    char kind = record[0];
    if (std::string(kKinds).find(kind) == std::string::npos)
        kind = kKinds[static_cast<unsigned char>(kind) % (sizeof kKinds - 1)];
    switch (kind) {
    case 'd':
        channel.deviceSends(body);
        break;
    case 'r':
        rig.request(static_cast<unsigned>(number), text);
        break;
    case 'q':
        channel.query(static_cast<PhoneLine::QueryType>(number));
        break;
    case 'm':
        channel.modify(static_cast<PhoneLine::QueryType>(number), text);
        break;
    case 'p':
        channel.runPosted();
        break;
    case 't':
        channel.timerExpires();
        break;
    case 'l':
        channel.deviceLost();
        break;
    case 'o':
        channel.reopen();
        break;
    case 'c':
        channel.close();
        break;
    }
    channel.checkSettled();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    FuzzedChannel channel;
    {
        cellctl::fuzz::LibraryRig rig(channel);
        std::size_t start = 0;
        while (start <= input.size()) {
            std::size_t end = input.find('\x1e', start);
            if (end == std::string::npos)
                end = input.size();
            play(channel, rig, input.substr(start, end - start));
            start = end + 1;
        }
        channel.finish();
    }
    return 0;
}
