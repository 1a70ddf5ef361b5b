#include "RecordingPhoneLine.h"

#include <ostream>

namespace cellctl::test {

std::ostream& operator<<(std::ostream& out, const RecordingPhoneLine::Command& command)
{
    out << (command.kind == RecordingPhoneLine::Kind::Query ? "query(" : "modify(") << command.code;
    if (command.kind == RecordingPhoneLine::Kind::Modify)
        out << ", \"" << command.text << '"';
    return out << ')';
}

}  // namespace cellctl::test
