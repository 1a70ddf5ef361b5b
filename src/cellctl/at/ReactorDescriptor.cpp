#include <cellctl/at/ReactorDescriptor.h>

#include <cerrno>
#include <system_error>
#include <unistd.h>
#include <utility>

#include <boost/asio/detail/reactor.hpp>
#include <boost/asio/detail/reactor_op.hpp>
#include <boost/asio/dispatch.hpp>
#include <boost/asio/error.hpp>

namespace cellctl::at {
namespace {

using Reactor = boost::asio::detail::reactor;
using boost::asio::detail::reactor_op;
using boost::asio::detail::scheduler_operation;
using boost::system::error_code;

error_code lastError() { return error_code(errno, boost::asio::error::get_system_category()); }

bool wouldBlock() { return errno == EAGAIN || errno == EWOULDBLOCK; }

}  // namespace

struct ReactorDescriptor::State {
    // The one read: reused for every read, as only one is outstanding.
    struct ReadOp : reactor_op {
        explicit ReadOp(State& state) : reactor_op(error_code(), &perform, &complete), state(state) {}

        static status perform(reactor_op* base)
        {
            auto* op = static_cast<ReadOp*>(base);
            for (;;) {
                ssize_t got = ::read(op->state.fd, op->buffer.data(), op->buffer.size());
                if (got > 0) {
                    op->bytes_transferred_ = static_cast<std::size_t>(got);
                    // Less than asked: the device's bytes are all taken; more
                    // will raise a new event.
                    return op->bytes_transferred_ < op->buffer.size() ? done_and_exhausted : done;
                }
                if (got == 0) {
                    op->ec_ = boost::asio::error::eof;
                    return done;
                }
                if (errno == EINTR)
                    continue;
                if (wouldBlock())
                    return not_done;
                op->ec_ = lastError();
                return done;
            }
        }

        static void complete(void* owner, scheduler_operation* base, const error_code&, std::size_t)
        {
            auto* op = static_cast<ReadOp*>(base);
            std::shared_ptr<State> keep = std::move(op->keepAlive);
            std::shared_ptr<Transport::Reader> reader = std::move(op->reader);
            if (owner == nullptr)
                return;  // the io_context is going away
            boost::asio::dispatch(keep->strand,
                                  [reader = std::move(reader), error = op->ec_, size = op->bytes_transferred_,
                                   tag = op->tag] { reader->onRead(error, size, tag); });
        }

        State& state;
        std::shared_ptr<State> keepAlive;
        boost::asio::mutable_buffer buffer;
        std::shared_ptr<Transport::Reader> reader;
        std::uint64_t tag = 0;
    };

    // A write the device did not take at once: the rest as room appears.
    struct WriteOp : reactor_op {
        explicit WriteOp(State& state) : reactor_op(error_code(), &perform, &complete), state(state) {}

        static status perform(reactor_op* base)
        {
            auto* op = static_cast<WriteOp*>(base);
            while (op->bytes_transferred_ < op->buffer.size()) {
                const char* from = static_cast<const char*>(op->buffer.data()) + op->bytes_transferred_;
                ssize_t put = ::write(op->state.fd, from, op->buffer.size() - op->bytes_transferred_);
                if (put >= 0) {
                    op->bytes_transferred_ += static_cast<std::size_t>(put);
                } else if (errno == EINTR) {
                    continue;
                } else if (wouldBlock()) {
                    return not_done;
                } else {
                    op->ec_ = lastError();
                    return done;
                }
            }
            return done;
        }

        static void complete(void* owner, scheduler_operation* base, const error_code&, std::size_t)
        {
            auto* op = static_cast<WriteOp*>(base);
            std::shared_ptr<State> keep = std::move(op->keepAlive);
            Transport::Handler handler = std::move(op->handler);
            if (owner == nullptr)
                return;
            boost::asio::dispatch(keep->strand, [handler = std::move(handler), error = op->ec_,
                                                 size = op->bytes_transferred_] { handler(error, size); });
        }

        State& state;
        std::shared_ptr<State> keepAlive;
        boost::asio::const_buffer buffer;
        Transport::Handler handler;
    };

    State(const Transport::Strand& strand, int fd)
        : strand(strand),
          reactor(boost::asio::use_service<Reactor>(strand.get_inner_executor().context())),
          fd(fd)
    {
    }

    // Starts `op` (reset for this use) unless the descriptor is closed, in
    // which case it completes at once with bad_descriptor.
    void start(int type, reactor_op& op)
    {
        op.ec_ = error_code();
        op.bytes_transferred_ = 0;
        if (fd < 0) {
            op.ec_ = boost::asio::error::bad_descriptor;
            reactor.post_immediate_completion(&op, false);
            return;
        }
        reactor.start_op(type, fd, data, &op, false, true);
    }

    Transport::Strand strand;
    Reactor& reactor;
    int fd;
    Reactor::per_descriptor_data data = nullptr;
    ReadOp readOp{*this};
    WriteOp writeOp{*this};
};

ReactorDescriptor::ReactorDescriptor(const Transport::Strand& strand, int fd)
    : m_state(std::make_shared<State>(strand, fd))
{
    if (int error = m_state->reactor.register_descriptor(fd, m_state->data)) {
        m_state->reactor.cleanup_descriptor_data(m_state->data);
        ::close(fd);
        m_state->fd = -1;
        throw std::system_error(error, std::generic_category(), "cannot watch the device");
    }
}

ReactorDescriptor::~ReactorDescriptor() { close(); }

int ReactorDescriptor::nativeHandle() const { return m_state->fd; }

bool ReactorDescriptor::isOpen() const { return m_state->fd >= 0; }

void ReactorDescriptor::close()
{
    State& state = *m_state;
    if (state.fd < 0)
        return;
    // Not "closing": a child forked meanwhile may hold a copy of the
    // descriptor, which would keep it in the epoll set.
    state.reactor.deregister_descriptor(state.fd, state.data, false);
    ::close(state.fd);
    state.fd = -1;
    state.reactor.cleanup_descriptor_data(state.data);
}

void ReactorDescriptor::asyncReadSome(boost::asio::mutable_buffer buffer, std::shared_ptr<Transport::Reader> reader,
                                      std::uint64_t tag)
{
    State::ReadOp& op = m_state->readOp;
    op.keepAlive = m_state;
    op.buffer = buffer;
    op.reader = std::move(reader);
    op.tag = tag;
    m_state->start(Reactor::read_op, op);
}

std::size_t ReactorDescriptor::writeNow(boost::asio::const_buffer buffer, error_code& error)
{
    error.clear();
    if (m_state->fd < 0) {
        error = boost::asio::error::bad_descriptor;
        return 0;
    }
    for (;;) {
        ssize_t put = ::write(m_state->fd, buffer.data(), buffer.size());
        if (put >= 0)
            return static_cast<std::size_t>(put);
        if (errno == EINTR)
            continue;
        if (!wouldBlock())
            error = lastError();
        return 0;
    }
}

void ReactorDescriptor::asyncWrite(boost::asio::const_buffer buffer, Transport::Handler handler)
{
    State::WriteOp& op = m_state->writeOp;
    op.keepAlive = m_state;
    op.buffer = buffer;
    op.handler = std::move(handler);
    m_state->start(Reactor::write_op, op);
}

}  // namespace cellctl::at
