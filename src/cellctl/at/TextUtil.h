#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Small text tools shared by the channel's line handling.

namespace cellctl::at {

// The comparisons ignore case for ASCII letters only, as AT commands do.
bool startsWith(std::string_view text, std::string_view prefix);
bool startsWithIgnoringCase(std::string_view text, std::string_view prefix);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// `text` without leading and trailing blanks (spaces and tabs).
std::string trimBlanks(const std::string& text);
// The same, as a view into `text`.
std::string_view trimmedView(std::string_view text);

// The rest of `line` after `prefix`, less leading blanks.
std::string afterPrefix(const std::string& line, const std::string& prefix);

// Splits at commas that are outside double quotes; fields keep their quotes.
std::vector<std::string> splitFields(const std::string& text);

// True when `field` (blanks trimmed) is enclosed in double quotes.
bool isQuoted(const std::string& field);
// The field without blanks and without its enclosing double quotes.
std::string unquote(const std::string& field);

std::string join(const std::vector<std::string>& parts, const std::string& separator);

// True when `text` is one or more decimal digits and nothing else.
bool isDigits(std::string_view text);
// The value of a field of decimal digits (blanks around it allowed), whatever
// its zero padding; nullopt for anything else or a value above 999999.
std::optional<int> readNumberField(std::string_view field);

}  // namespace cellctl::at
