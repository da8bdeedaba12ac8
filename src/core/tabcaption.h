// TabCaption: how a saved tab's caption is formed from a folder path and stored in "tabfile.kez".
#pragma once

#include <string>

// A tab's caption is the folder's last path component ("/" for the file-system root). In the
// settings file and the tab list the caption stands before the first "=" of a line, so it is
// stored percent-escaped: "%" and "=" always, line breaks always, and a leading "[" or ";" or "#"
// and leading or trailing blanks, which the INI reader would take for a section, a comment or
// padding. decode(encode(c)) == c for every caption; a caption without those characters is stored
// unchanged, so files written before the escape read the same.
// Pure functions; usable from any thread.
class TabCaption {
public:
    enum class Outcome {
        Ok,
        Special, // a virtual place or an empty last component: cannot be a tab
    };

    // The caption of a folder path; Special for an empty result or a class-identifier form.
    static Outcome fromPath(const std::string &path, std::string &caption);
    static std::string encode(const std::string &caption);
    static std::string decode(const std::string &stored);
};
