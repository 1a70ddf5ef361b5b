// Fuzzes every helper's two slots through the real assistors: the whole
// library is set up on one PhoneLine with a callback on every result kind
// (LibraryRig), then arbitrary (code, text) answers arrive on either signal,
// mixed with arbitrary host requests.
//
// Input: records separated by the byte 0x1E, each "<kind><code>:<text>":
//   q62:+CPIN: SIM PIN\nOK     an answer on the query-result signal
//   m126:OK                    an answer on the modify-result signal
//   r12:1234                   host request 12 with the argument "1234"
// The code is read as a leading integer (any int, wrapping); a record without
// ':' has an empty text; any other kind byte picks one of the three by value.

#include <cstdint>
#include <string>

#include <cellctl/framework/PhoneLine.h>
#include <cellctl/text/Numbers.h>

#include "LibraryRig.h"

namespace {

// Takes the library's commands and drops them: answers come from the input.
class DiscardingLine : public PhoneLine {
public:
    void query(QueryType) override {}
    void modify(QueryType, const std::string&) override {}
};

void play(cellctl::fuzz::LibraryRig& rig, DiscardingLine& line, const std::string& record)
{
    if (record.empty())
        return;
    const std::size_t colon = record.find(':');
    const std::string code = record.substr(1, colon == std::string::npos ? std::string::npos : colon - 1);
    const std::string text = colon == std::string::npos ? std::string() : record.substr(colon + 1);
    const int number = cellctl::text::readLeadingInt(code);

    char kind = record[0];
    if (kind != 'q' && kind != 'm' && kind != 'r')
        kind = "qmr"[static_cast<unsigned char>(kind) % 3];
    switch (kind) {
    case 'q':
        line.deliverQueryResult(static_cast<PhoneLine::QueryType>(number), text);
        break;
    case 'm':
        line.deliverModifyResult(static_cast<PhoneLine::QueryType>(number), text);
        break;
    default:
        rig.request(static_cast<unsigned>(number), text);
        break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    DiscardingLine line;
    cellctl::fuzz::LibraryRig rig(line);
    std::size_t start = 0;
    while (start <= input.size()) {
        std::size_t end = input.find('\x1e', start);
        if (end == std::string::npos)
            end = input.size();
        play(rig, line, input.substr(start, end - start));
        start = end + 1;
    }
    return 0;
}
