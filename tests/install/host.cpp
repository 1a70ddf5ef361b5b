// A host program that sees only the installed headers and library.
#include <cellctl/cellctl.h>

#include <cstdio>
#include <string>

namespace {

class LoopbackLine : public PhoneLine {
public:
    void query(QueryType code) override { deliverQueryResult(code, "OK"); }
    void modify(QueryType code, const std::string& text) override { deliverModifyResult(code, text + "\nOK"); }
};

int answers = 0;
void onAnswer(PhoneLine::QueryType, const std::string&) { ++answers; }

}  // namespace

int main()
{
    LoopbackLine line;
    boost::signals::connection connection = line.connectModifyResult(&onAnswer);
    line.modify(PhoneLine::PowerOn, "1,0");
    line.disconnect(connection);
    line.modify(PhoneLine::PowerOn, "1,0");
    if (answers != 1) {
        std::fprintf(stderr, "expected one answer, got %d\n", answers);
        return 1;
    }
    std::puts("host: ok");
    return 0;
}
