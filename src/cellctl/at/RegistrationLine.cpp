#include <cellctl/at/RegistrationLine.h>

#include <algorithm>
#include <vector>

#include <cellctl/text/Fields.h>
#include <cellctl/text/Numbers.h>

namespace cellctl::at {
namespace {

// The highest <stat> TS 27.007 defines; a larger bare number is no status.
constexpr int kHighestStatus = 11;
// A stat is never written with more characters than this, padding included.
constexpr std::size_t kLongestStatus = 3;

struct Field {
    std::string text;  // without blanks and without any double quote
    bool quoted;       // a double quote was there, matched or not
};

// Splits at every comma: lac and ci never hold one, so broken quotes cannot
// glue two fields together.
std::vector<Field> fieldsOf(const std::string& body)
{
    std::vector<Field> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t comma = body.find(',', start);
        std::string raw = body.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        bool quoted = raw.find('"') != std::string::npos;
        raw.erase(std::remove(raw.begin(), raw.end(), '"'), raw.end());
        fields.push_back(Field{text::trimBlanks(raw), quoted});
        if (comma == std::string::npos)
            return fields;
        start = comma + 1;
    }
}

bool isStatusField(const Field& field)
{
    std::optional<int> value = text::readNumberField(field.text);
    return !field.quoted && field.text.size() <= kLongestStatus && value && *value <= kHighestStatus;
}

}  // namespace

std::optional<std::string> registrationStatus(const std::string& body)
{
    std::vector<Field> fields = fieldsOf(body);
    std::size_t statusAt = fields.size() >= 2 && isStatusField(fields[1]) ? 1 : 0;
    if (fields[statusAt].quoted)
        return std::nullopt;
    std::optional<int> status = text::readNumberField(fields[statusAt].text);
    if (!status)
        return std::nullopt;
    std::string text = std::to_string(*status);
    for (std::size_t i = statusAt + 1; i < fields.size(); ++i) {
        bool isLocation = i <= statusAt + 2;  // lac and ci: quoted hex
        text += isLocation ? ",\"" + fields[i].text + "\"" : "," + fields[i].text;
    }
    return text;
}

}  // namespace cellctl::at
