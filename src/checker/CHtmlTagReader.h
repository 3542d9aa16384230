#pragma once

#include <optional>
#include <string_view>
#include <vector>

// Reads the start tags of the inline HTML in a body text, as far as the
// checks need it: the tag name and its attributes (quoted with " or ', or
// not at all). End tags, comments and a "<" that starts no tag are skipped.
class CHtmlTagReader {
public:
    struct CAttribute {
        std::string_view name;
        std::string_view value;
    };
    struct CTag {
        std::string_view name;
        std::vector<CAttribute> attributes;
        // The value of an attribute, its name compared without regard to
        // case; none when the tag has no such attribute.
        std::optional<std::string_view> Get(std::string_view attribute) const;
        bool Is(std::string_view tagName) const;
    };

    explicit CHtmlTagReader(std::string_view text)
        : m_text(text)
    { }

    // The next start tag; false at the end of the text.
    bool Next(CTag& tag);

    static bool EqualNoCase(std::string_view a, std::string_view b);

private:
    void ReadAttributes(CTag& tag);
    std::string_view ReadName();
    void SkipBlanks();

    std::string_view m_text;
    size_t m_nPos = 0;
};
