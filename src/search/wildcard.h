// Wildcard matching of names and paths ("*" any run, "?" one character, letter case ignored).
#pragma once

#include <string_view>

// Matches a UTF-8 text against a mask. Rules beyond plain globbing, kept on purpose because users'
// masks rely on them: a "?" right after a "*" is swallowed by the star ("a*?" matches "a"), and
// "?" at the end of the mask also matches when the text has already ended ("abc?" matches "abc").
// An empty mask matches only an empty text. Runs in polynomial time for any number of stars.
// Letter case is folded per character; bytes that are not valid UTF-8 match only themselves.
bool WildcardMatch(std::string_view text, std::string_view mask);
