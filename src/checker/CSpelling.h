#pragma once

#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

class Hunspell;

// Spelling with Hunspell and the dictionaries installed on the system, and
// the user's own word list. Words are UTF-8.
class CSpelling {
public:
    CSpelling();
    ~CSpelling();
    CSpelling(const CSpelling&) = delete;
    CSpelling& operator=(const CSpelling&) = delete;

    // The folders searched for NAME.aff and NAME.dic: those of $DICPATH,
    // then the system's.
    static std::vector<std::string> DictionaryFolders();
    // The installed dictionaries, by name ("de_DE", "en_GB"), sorted.
    static std::vector<std::string> InstalledDictionaries();
    // The dictionary for a language tag: the exact one ("en-GB" -> "en_GB"),
    // else one of the same language ("en" -> "en_US" before other en_*);
    // empty when none is installed.
    static std::string DictionaryFor(std::string_view languageTag);
    // The user's word list: $XDG_CONFIG_HOME/pagewell/words (or
    // ~/.config/pagewell/words).
    static std::string PersonalWordsPath();

    // Loads a dictionary by name, and the user's words; false when the
    // dictionary cannot be read.
    bool Load(const std::string& name);
    const std::string& GetDictionary() const { return m_strName; }
    bool IsLoaded() const { return m_pHunspell != nullptr; }

    bool IsCorrect(const std::string& word);
    std::vector<std::string> Suggest(const std::string& word);
    // Adds a word to the user's list (kept in its file) and to this checker.
    bool AddToPersonal(const std::string& word);
    // Accepts a word for as long as this checker lives.
    void Ignore(const std::string& word);

private:
    std::string ToDictionary(const std::string& word) const;

    std::unique_ptr<Hunspell> m_pHunspell;
    std::string m_strName;
    bool m_bLatin1 = false;
    std::set<std::string> m_ignored;
};
