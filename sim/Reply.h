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
// `then` gives the rest of the answer.
struct Reply {
    enum class Result { Ok, Error, Cme, NoCarrier };

    std::vector<std::string> lines;
    Result result = Result::Ok;
    CmeError cme = CmeError::OperationNotAllowed;
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
