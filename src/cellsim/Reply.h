#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <cellsim/CmeError.h>

namespace cellsim {

// What a check or state change gives: nothing on success, the error otherwise.
using Outcome = std::optional<CmeError>;

// The answer of one command: information lines and a final result. A command
// that takes time (a network scan, a selection) answers `later`: after `wait`,
// `then` gives the rest of the answer. The call commands (D, O, H) also tell
// the port what to do with its data call.
struct Reply {
    enum class Result { Ok, Error, Cme, NoCarrier, Connect };
    enum class Call { Keep, Start, Resume, End };

    std::vector<std::string> lines;
    Result result = Result::Ok;
    CmeError cme = CmeError::OperationNotAllowed;
    Call call = Call::Keep;
    long bitRate = 0;  // Connect: the rate of "CONNECT <rate>"
    std::chrono::milliseconds wait{0};
    std::function<Reply()> then;

    static Reply ok(std::vector<std::string> lines = {})
    {
        Reply reply;
        reply.lines = std::move(lines);
        return reply;
    }
    static Reply ok(std::string line) { return ok(std::vector<std::string>{std::move(line)}); }
    static Reply error()
    {
        Reply reply;
        reply.result = Result::Error;
        return reply;
    }
    static Reply failure(CmeError error)
    {
        Reply reply;
        reply.result = Result::Cme;
        reply.cme = error;
        return reply;
    }
    static Reply noCarrier()
    {
        Reply reply;
        reply.result = Result::NoCarrier;
        return reply;
    }
    // A data call starts at `bitRate` once "CONNECT <bitRate>" is sent.
    static Reply connect(long bitRate)
    {
        Reply reply;
        reply.result = Result::Connect;
        reply.call = Call::Start;
        reply.bitRate = bitRate;
        return reply;
    }
    // The port's held call goes back online (NO CARRIER when there is none).
    static Reply resume()
    {
        Reply reply;
        reply.result = Result::Connect;
        reply.call = Call::Resume;
        return reply;
    }
    // The port's call, if any, ends.
    static Reply hangUp()
    {
        Reply reply;
        reply.call = Call::End;
        return reply;
    }
    static Reply from(Outcome outcome) { return outcome ? failure(*outcome) : ok(); }
    static Reply later(std::chrono::milliseconds wait, std::function<Reply()> then)
    {
        Reply reply;
        reply.wait = wait;
        reply.then = std::move(then);
        return reply;
    }

    bool pending() const { return static_cast<bool>(then); }
    bool succeeded() const { return result == Result::Ok; }
};

}  // namespace cellsim
