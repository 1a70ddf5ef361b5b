#include <cellctl/at/AtPhoneLine.h>

#include <cellctl/at/Channel.h>

namespace cellctl::at {

AtPhoneLine::AtPhoneLine(boost::asio::io_context& io, AtPhoneLineOptions options)
    : m_channel(std::make_shared<Channel>(io, options, *this))
{
}

AtPhoneLine::~AtPhoneLine() { m_channel->detach(); }

void AtPhoneLine::open(const std::string& target) { m_channel->open(target); }

void AtPhoneLine::reopen() { m_channel->reopen(); }

void AtPhoneLine::close() { m_channel->close(); }

bool AtPhoneLine::isOpen() const { return m_channel->isOpen(); }

void AtPhoneLine::query(QueryType code) { m_channel->post(Request{RequestKind::Query, code, std::string()}); }

void AtPhoneLine::modify(QueryType code, const std::string& text)
{
    m_channel->post(Request{RequestKind::Modify, code, text});
}

boost::signals2::connection AtPhoneLine::connectStatus(StatusCallback callback)
{
    return m_channel->connectStatus(std::move(callback));
}

void AtPhoneLine::setTrace(TraceCallback callback) { m_channel->setTrace(std::move(callback)); }

void AtPhoneLine::abortCommand(std::chrono::milliseconds grace) { m_channel->abortCommand(grace); }

std::size_t AtPhoneLine::pendingCommands() const { return m_channel->pendingCommands(); }

AtPhoneLine::Executor AtPhoneLine::executor() const { return m_channel->executor(); }

}  // namespace cellctl::at
