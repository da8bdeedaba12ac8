// Command-line options of xingzhou-find, turned into the engine's criteria.
#pragma once

#include "search/findfile.h"

#include <string>
#include <vector>

// Parses the options (named after the criteria) into a TFindFile's criteria and switches.
// Used once, on the main thread, before the search starts.
class TFindCommandLine {
public:
    // Returns false with Error() set when an option is unknown, lacks its value or has a value
    // that cannot be read.
    bool Parse(const std::vector<std::string> &arguments, TFindFile &engine);

    const std::string &Error() const { return error_; }
    bool HelpRequested() const { return help_; }
    // Hits are ended by a zero byte instead of a newline (names may contain newlines).
    bool NullTerminated() const { return nullTerminated_; }

    static std::string HelpText();

private:
    bool fail(std::string message);

    std::string error_;
    bool help_ = false;
    bool nullTerminated_ = false;
};
