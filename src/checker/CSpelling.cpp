#include "checker/CSpelling.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <hunspell.hxx>

#include "model/CLanguageTag.h"

namespace fs = std::filesystem;

namespace {

std::string Environment(const char* pszName)
{
    const char* pszValue = std::getenv(pszName);
    return pszValue != nullptr ? pszValue : "";
}

// UTF-8 to Latin-1 for a dictionary in that encoding; characters beyond it
// make the word one the dictionary cannot know.
std::string ToLatin1(const std::string& utf8)
{
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size() && c <= 0xC3) {
            out += static_cast<char>(((c & 0x1F) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
        } else {
            return {};
        }
    }
    return out;
}

std::string FromLatin1(const std::string& latin1)
{
    std::string out;
    for (const char ch : latin1) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

} // namespace

CSpelling::CSpelling() = default;
CSpelling::~CSpelling() = default;

std::vector<std::string> CSpelling::DictionaryFolders()
{
    std::vector<std::string> folders;
    const std::string dicPath = Environment("DICPATH");
    for (size_t start = 0; start < dicPath.size();) {
        const size_t colon = std::min(dicPath.find(':', start), dicPath.size());
        if (colon > start)
            folders.push_back(dicPath.substr(start, colon - start));
        start = colon + 1;
    }
    folders.insert(
        folders.end(), { "/usr/share/hunspell", "/usr/share/myspell", "/usr/share/myspell/dicts" });
    return folders;
}

std::vector<std::string> CSpelling::InstalledDictionaries()
{
    std::set<std::string> names;
    for (const std::string& folder : DictionaryFolders()) {
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            const fs::path path = it->path();
            if (path.extension() == ".dic" && fs::exists(fs::path(path).replace_extension(".aff"), error))
                names.insert(path.stem().string());
        }
    }
    return { names.begin(), names.end() };
}

std::string CSpelling::DictionaryFor(std::string_view languageTag)
{
    if (languageTag.empty())
        return {};
    // "en-GB" -> en_GB, "zh-Hant-TW" -> zh_TW, "de" -> de.
    const std::string exact = CLanguageTag::DictionaryName(languageTag);
    const std::string language = exact.substr(0, exact.find('_'));
    const std::vector<std::string> installed = InstalledDictionaries();
    const auto has = [&installed](const std::string& name) {
        return std::find(installed.begin(), installed.end(), name) != installed.end();
    };
    std::string upper = language;
    std::transform(
        upper.begin(), upper.end(), upper.begin(), [](char c) { return static_cast<char>(std::toupper(c)); });
    // The exact one, the language alone, the language's own country (de_DE,
    // fr_FR), American English for English, else any of the language.
    for (const std::string& name :
        { exact, language, language + "_" + upper, std::string(language == "en" ? "en_US" : "") }) {
        if (!name.empty() && has(name))
            return name;
    }
    for (const std::string& name : installed) {
        if (name.starts_with(language + "_"))
            return name;
    }
    return {};
}

std::string CSpelling::PersonalWordsPath()
{
    std::string config = Environment("XDG_CONFIG_HOME");
    if (config.empty())
        config = Environment("HOME") + "/.config";
    return config + "/pagewell/words";
}

bool CSpelling::Load(const std::string& name)
{
    m_pHunspell.reset();
    m_strName.clear();
    for (const std::string& folder : DictionaryFolders()) {
        const std::string base = folder + "/" + name;
        std::error_code error;
        if (!fs::exists(base + ".aff", error) || !fs::exists(base + ".dic", error))
            continue;
        m_pHunspell = std::make_unique<Hunspell>((base + ".aff").c_str(), (base + ".dic").c_str());
        m_strName = name;
        m_bLatin1 = m_pHunspell->get_dict_encoding() != "UTF-8";
        std::ifstream personal(PersonalWordsPath());
        for (std::string word; std::getline(personal, word);) {
            if (!word.empty())
                m_pHunspell->add(ToDictionary(word));
        }
        return true;
    }
    return false;
}

std::string CSpelling::ToDictionary(const std::string& word) const
{
    return m_bLatin1 ? ToLatin1(word) : word;
}

bool CSpelling::IsCorrect(const std::string& word)
{
    if (m_pHunspell == nullptr || m_ignored.contains(word))
        return true;
    const std::string converted = ToDictionary(word);
    return converted.empty() || m_pHunspell->spell(converted);
}

std::vector<std::string> CSpelling::Suggest(const std::string& word)
{
    if (m_pHunspell == nullptr)
        return {};
    std::vector<std::string> suggestions = m_pHunspell->suggest(ToDictionary(word));
    if (m_bLatin1) {
        for (std::string& suggestion : suggestions)
            suggestion = FromLatin1(suggestion);
    }
    return suggestions;
}

bool CSpelling::AddToPersonal(const std::string& word)
{
    const fs::path path = PersonalWordsPath();
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    std::ofstream out(path, std::ios::app);
    out << word << '\n';
    if (m_pHunspell != nullptr)
        m_pHunspell->add(ToDictionary(word));
    return static_cast<bool>(out);
}

void CSpelling::Ignore(const std::string& word)
{
    m_ignored.insert(word);
}
