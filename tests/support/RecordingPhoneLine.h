#pragma once

#include <string>
#include <vector>

#include <cellctl/framework/PhoneLine.h>

namespace cellctl::test {

// A PhoneLine for unit tests: records every command in order and lets the test
// deliver answers on either signal.
class RecordingPhoneLine : public PhoneLine {
public:
    enum class Kind { Query, Modify };

    struct Command {
        Kind kind;
        int code;
        std::string text;  // empty for queries

        bool operator==(const Command& other) const
        {
            return kind == other.kind && code == other.code && text == other.text;
        }
    };

    static Command Query(int code) { return {Kind::Query, code, std::string()}; }
    static Command Modify(int code, std::string text) { return {Kind::Modify, code, std::move(text)}; }

    void query(QueryType code) override { m_sent.push_back(Query(code)); }
    void modify(QueryType code, const std::string& text) override { m_sent.push_back(Modify(code, text)); }

    const std::vector<Command>& sent() const { return m_sent; }
    void clear() { m_sent.clear(); }

    void answerQuery(int code, const std::string& text) { deliverQueryResult(static_cast<QueryType>(code), text); }
    void answerModify(int code, const std::string& text) { deliverModifyResult(static_cast<QueryType>(code), text); }

private:
    std::vector<Command> m_sent;
};

std::ostream& operator<<(std::ostream& out, const RecordingPhoneLine::Command& command);

}  // namespace cellctl::test
