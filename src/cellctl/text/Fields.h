#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Lines and the comma-separated fields of AT answers and parameter texts.

namespace cellctl::text {

// `text` without leading and trailing blanks (spaces and tabs).
std::string trimBlanks(std::string_view text);
// The same, as a view into `text`.
std::string_view trimmedView(std::string_view text);

// The rest of `line` after `prefix`, less leading blanks.
std::string afterPrefix(std::string_view line, std::string_view prefix);

// The rest of the first line of `text` ("\n" ends a line) that begins with
// `prefix`, less leading blanks; nullopt when no line does.
std::optional<std::string_view> lineAfter(std::string_view text, std::string_view prefix);

// How many lines of `text` begin with `prefix`.
std::size_t countLinesStartingWith(std::string_view text, std::string_view prefix);

// Splits at commas that are outside double quotes; fields keep their quotes.
std::vector<std::string> splitFields(std::string_view text);

std::string join(const std::vector<std::string>& parts, std::string_view separator);

}  // namespace cellctl::text
