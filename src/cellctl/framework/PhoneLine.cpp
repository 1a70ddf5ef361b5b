#include <cellctl/framework/PhoneLine.h>

PhoneLine::~PhoneLine() = default;

boost::signals::connection PhoneLine::connectQueryResult(ResultSlot slot)
{
    return m_queryResult.connect(std::move(slot));
}

boost::signals::connection PhoneLine::connectModifyResult(ResultSlot slot)
{
    return m_modifyResult.connect(std::move(slot));
}

void PhoneLine::disconnect(boost::signals::connection connection) { connection.disconnect(); }

void PhoneLine::deliverQueryResult(QueryType code, const std::string& text) { m_queryResult(code, text); }

void PhoneLine::deliverModifyResult(QueryType code, const std::string& text) { m_modifyResult(code, text); }
