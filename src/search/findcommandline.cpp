// Command-line options of xingzhou-find, turned into the engine's criteria.
#include "search/findcommandline.h"

#include "search/attributescriteria.h"
#include "search/datetime.h"

#include <charconv>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>

namespace {

struct AttributeOption {
    const char *name;
    int index;
};

// One option per attribute property of the criteria, with the property's index.
constexpr AttributeOption kAttributeOptions[] = {
    {"--readonly", 1},
    {"--hidden", 2},
    {"--system", 3},
    {"--directory", 5},
    {"--archive", 6},
    {"--device", 7},
    {"--normal", 8},
    {"--temporary", 9},
    {"--sparse-file", 10},
    {"--reparse-point", 11},
    {"--compressed", 12},
    {"--offline", 13},
    {"--not-content-indexed", 14},
    {"--encrypted", 15},
    {"--virtual", 17},
};

std::optional<TFileAttributeStatus> ParseStatus(const std::string &text) {
    static const std::map<std::string, TFileAttributeStatus> statuses = {
        {"ignore", fsIgnore},      {"set", fsSet}, {"unset", fsUnset}, {"any-set", fsAnySet},
        {"any-unset", fsAnyUnset},
    };
    const auto found = statuses.find(text);
    if (found == statuses.end())
        return std::nullopt;
    return found->second;
}

std::optional<long long> ParseInteger(std::string_view text) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// A byte count with an optional unit: B, K, M, G (powers of 1024).
std::optional<int64_t> ParseSize(std::string text) {
    int64_t unit = 1;
    if (!text.empty()) {
        switch (text.back()) {
        case 'K':
        case 'k':
            unit = 1024;
            break;
        case 'M':
        case 'm':
            unit = 1024 * 1024;
            break;
        case 'G':
        case 'g':
            unit = 1024LL * 1024 * 1024;
            break;
        case 'B':
        case 'b':
            unit = 1;
            break;
        default:
            unit = 0;
            break;
        }
        if (unit != 0)
            text.pop_back();
        else
            unit = 1;
    }
    const auto value = ParseInteger(text);
    if (!value || *value < 0 || *value > INT64_MAX / unit)
        return std::nullopt;
    return *value * unit;
}

// "YYYY-MM-DD" (date only), "HH:MM[:SS]" (time of day only) or both, separated by a blank or T.
std::optional<TDateTime> ParseDateTime(const std::string &text) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    int used = 0;
    double date = 0;
    std::string_view rest = text;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d%n", &year, &month, &day, &used) == 3) {
        if (month < 1 || month > 12 || day < 1 || day > 31)
            return std::nullopt;
        date = EncodeDateTime(year, month, day);
        rest.remove_prefix(static_cast<size_t>(used));
        if (rest.empty())
            return date;
        if (rest.front() != ' ' && rest.front() != 'T')
            return std::nullopt;
        rest.remove_prefix(1);
    }
    const std::string time(rest);
    used = 0;
    const int fields =
        std::sscanf(time.c_str(), "%2d:%2d%n:%2d%n", &hour, &minute, &used, &second, &used);
    if (fields < 2 || static_cast<size_t>(used) != time.size() || hour > 23 || minute > 59 ||
        second > 59 || hour < 0 || minute < 0 || second < 0)
        return std::nullopt;
    const double fraction = EncodeDateTime(1899, 12, 30, hour, minute, second);
    if (date == 0 && fraction == 0)
        return std::nullopt; // midnight alone would mean "no bound"
    return date + fraction;
}

} // namespace

bool TFindCommandLine::fail(std::string message) {
    error_ = std::move(message);
    return false;
}

bool TFindCommandLine::Parse(const std::vector<std::string> &arguments, TFindFile &engine) {
    TSearchCriteria &criteria = engine.Criteria();
    TFileCriteria &files = criteria.Files();
    std::vector<std::string> paths;
    std::vector<std::string> filters;
    TContentSearchOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string &option = arguments[i];
        auto value = [&](std::string &out) {
            if (i + 1 >= arguments.size())
                return fail("option " + option + " needs a value");
            out = arguments[++i];
            return true;
        };
        std::string text;
        if (option == "--help" || option == "-h") {
            help_ = true;
        } else if (option == "--name") {
            if (!value(text))
                return false;
            files.SetFileName(text);
        } else if (option == "--location") {
            if (!value(text))
                return false;
            files.SetLocation(text);
        } else if (option == "--path") {
            if (!value(text))
                return false;
            paths.push_back(text);
        } else if (option == "--filter") {
            if (!value(text))
                return false;
            filters.push_back(text);
        } else if (option == "--no-subfolders") {
            files.SetSubfolders(false);
        } else if (option == "--min-level" || option == "--max-level") {
            if (!value(text))
                return false;
            const auto level = ParseInteger(text);
            if (!level || *level < 0 || *level > 65535)
                return fail("invalid level for " + option + ": " + text);
            if (option == "--min-level")
                files.SetMinLevel(static_cast<uint16_t>(*level));
            else
                files.SetMaxLevel(static_cast<uint16_t>(*level));
        } else if (option == "--min-size" || option == "--max-size") {
            if (!value(text))
                return false;
            const auto size = ParseSize(text);
            if (!size)
                return fail("invalid size for " + option + ": " + text);
            if (option == "--min-size")
                criteria.Size().SetMin(*size);
            else
                criteria.Size().SetMax(*size);
        } else if (option.ends_with("-before") || option.ends_with("-after")) {
            static const std::map<std::string, void (TDateTimeCriteria::*)(TDateTime)> setters = {
                {"--created-before", &TDateTimeCriteria::SetCreatedBefore},
                {"--created-after", &TDateTimeCriteria::SetCreatedAfter},
                {"--modified-before", &TDateTimeCriteria::SetModifiedBefore},
                {"--modified-after", &TDateTimeCriteria::SetModifiedAfter},
                {"--accessed-before", &TDateTimeCriteria::SetAccessedBefore},
                {"--accessed-after", &TDateTimeCriteria::SetAccessedAfter},
            };
            const auto setter = setters.find(option);
            if (setter == setters.end())
                return fail("unknown option " + option);
            if (!value(text))
                return false;
            const auto time = ParseDateTime(text);
            if (!time)
                return fail("invalid date or time for " + option + ": " + text);
            (criteria.TimeStamp().*(setter->second))(*time);
        } else if (option == "--phrase") {
            if (!value(text))
                return false;
            criteria.Content().SetPhrase(text);
        } else if (option == "--case-sensitive") {
            options.Include(csoCaseSensitive);
        } else if (option == "--whole-word") {
            options.Include(csoWholeWord);
        } else if (option == "--negate") {
            options.Include(csoNegate);
        } else if (option == "--threaded") {
            engine.SetThreaded(true);
        } else if (option == "--print0") {
            nullTerminated_ = true;
        } else {
            const AttributeOption *attribute = nullptr;
            for (const AttributeOption &candidate : kAttributeOptions)
                if (option == candidate.name)
                    attribute = &candidate;
            if (!attribute)
                return fail("unknown option " + option);
            if (!value(text))
                return false;
            const auto status = ParseStatus(text);
            if (!status)
                return fail("invalid status for " + option + ": " + text +
                            " (ignore, set, unset, any-set, any-unset)");
            criteria.Attributes().SetAttributeStatus(attribute->index, *status);
        }
    }
    files.SetPaths(paths);
    files.SetFilters(filters);
    criteria.Content().SetOptions(options);
    if (files.Location().empty() && paths.empty())
        files.SetLocation(".");
    return true;
}

std::string TFindCommandLine::HelpText() {
    std::string text =
        "Usage: xingzhou-find [OPTION]...\n"
        "Finds files below folders and prints one full path per line; a summary goes to\n"
        "standard error. Exit status: 0 when something was found, 1 when nothing, 2 on errors.\n"
        "\n"
        "Names and folders:\n"
        "  --name MASKS         name masks separated by ';' (e.g. '*.h;*.cpp'); '*' any run,\n"
        "                       '?' one character, case ignored; default every name\n"
        "  --location FOLDERS   folders separated by ';'; default the current folder.\n"
        "                       '<dir' only that folder, '>dir' with subfolders,\n"
        "                       'n>dir' down to level n, 'a-b>dir' levels a to b\n"
        "  --path LINE          a folder with a mask ('2-4>/src/*.c'); repeatable\n"
        "  --filter LINE        path filter ('*/build/*' excludes, '>*/keep/*' rescues; the\n"
        "                       first matching line decides); repeatable\n"
        "  --no-subfolders      search only the folders themselves\n"
        "  --min-level N        test entries from level N on (the folder itself is level 1)\n"
        "  --max-level N        enter folders down to level N (0 = no limit)\n"
        "\n"
        "Attributes (STATUS: ignore, set, unset, any-set, any-unset; default: hidden, system\n"
        "and directory unset, so hidden entries, special files and folders are not listed and\n"
        "hidden folders not entered):\n";
    for (const AttributeOption &attribute : kAttributeOptions)
        text += "  " + std::string(attribute.name) + " STATUS\n";
    text += "\n"
            "Size and times:\n"
            "  --min-size N, --max-size N   bytes, or with a unit K, M, G (inclusive, 0 = none)\n"
            "  --created-before T, --created-after T, --modified-before T, --modified-after T,\n"
            "  --accessed-before T, --accessed-after T\n"
            "                       T is 'YYYY-MM-DD' (whole days), 'HH:MM[:SS]' (time of day on\n"
            "                       any date) or 'YYYY-MM-DD HH:MM[:SS]'; bounds are inclusive\n"
            "\n"
            "Content:\n"
            "  --phrase TEXT        files containing TEXT (single-byte, UTF-8 and UTF-16 files)\n"
            "  --case-sensitive     match letter case exactly\n"
            "  --whole-word         TEXT must stand between non-letters\n"
            "  --negate             files NOT containing TEXT\n"
            "\n"
            "Running:\n"
            "  --threaded           walk in a worker thread\n"
            "  --print0             end each path with a zero byte instead of a newline\n"
            "  --help               show this help\n";
    return text;
}
