#pragma once

#include <cstdint>

#include <cellctl/framework/PhoneLine.h>

namespace bench {

// A PhoneLine with no device behind it: commands are counted and dropped, and
// answers come only from deliverQueryResult / deliverModifyResult. Some
// answers make a helper send a follow-up command; that costs nothing here.
class SilentPhoneLine : public PhoneLine {
public:
    void query(QueryType) override { ++m_commands; }
    void modify(QueryType, const std::string&) override { ++m_commands; }
    std::uint64_t commands() const { return m_commands; }

private:
    std::uint64_t m_commands = 0;
};

}  // namespace bench
