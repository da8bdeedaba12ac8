// The phrase that files must (or, negated, must not) contain.
#pragma once

#include "search/contentoptions.h"
#include "search/customcriteria.h"
#include "search/stringvariants.h"

#include <string>

// An empty phrase makes no content test. Setting a different phrase recomputes its three
// encodings. Not thread-safe: a search works on its own copy.
class TContentCriteria : public TCustomCriteria {
public:
    void Assign(const TCustomCriteria *source) override;
    void Clear() override;
    const char *ClassName() const override { return "TContentCriteria"; }

    const std::string &Phrase() const { return fPhrase; }
    void SetPhrase(const std::string &value);
    const TStringVariants &PhraseVariants() const { return fPhraseVariants; }
    TContentSearchOptions Options() const { return fOptions; }
    void SetOptions(TContentSearchOptions value) { fOptions = value; }

    // Searches the file (full path); a file that cannot be opened or read never matches, with
    // csoNegate as well.
    bool Matches(const std::string &fileName) const;
    // The same for a name inside the folder open as dirFd.
    bool MatchesAt(int dirFd, std::string_view name) const;

private:
    std::string fPhrase;
    TStringVariants fPhraseVariants;
    TContentSearchOptions fOptions;
};
