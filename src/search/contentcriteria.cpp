// The phrase that files must (or, negated, must not) contain.
#include "search/contentcriteria.h"

#include "search/phrasesearch.h"

#include <exception>

void TContentCriteria::Assign(const TCustomCriteria *source) {
    const TContentCriteria &other = AssignSource(source, *this);
    SetPhrase(other.fPhrase);
    fOptions = other.fOptions;
}

void TContentCriteria::Clear() {
    SetPhrase("");
    fOptions = {};
}

void TContentCriteria::SetPhrase(const std::string &value) {
    if (value == fPhrase)
        return;
    fPhrase = value;
    fPhraseVariants = MakeStringVariants(fPhrase);
}

bool TContentCriteria::MatchesAt(int dirFd, std::string_view name) const {
    if (fPhrase.empty())
        return true;
    char zeroTerminated[256 + 1];
    if (name.size() >= sizeof zeroTerminated)
        return false;
    name.copy(zeroTerminated, name.size());
    zeroTerminated[name.size()] = '\0';
    try {
        return FindPhraseInFile(dirFd, zeroTerminated, fPhraseVariants, fOptions);
    } catch (const std::exception &) {
        return false;
    }
}

bool TContentCriteria::Matches(const std::string &fileName) const {
    if (fPhrase.empty())
        return true;
    try {
        return FindPhraseInFile(fileName, fPhraseVariants, fOptions);
    } catch (const std::exception &) {
        return false;
    }
}
