#pragma once

#include <optional>
#include <string>
#include <vector>

// Small text tools shared by the channel's line handling.

namespace cellctl::at {

bool startsWith(const std::string& text, const char* prefix);
bool startsWithIgnoringCase(const std::string& text, const std::string& prefix);
bool equalsIgnoringCase(const std::string& a, const std::string& b);

// `text` without leading and trailing blanks (spaces and tabs).
std::string trimBlanks(const std::string& text);

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
bool isDigits(const std::string& text);
// The value of a field of decimal digits (blanks around it allowed), whatever
// its zero padding; nullopt for anything else or a value above 999999.
std::optional<int> readNumberField(const std::string& field);

}  // namespace cellctl::at
