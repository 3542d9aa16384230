#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "platform/CDialogRecord.h"
#include "platform/CString.h"

// The site-wide settings of a project: language, description, base URL,
// markup, page encoding, favicon, page file extension and where the site is published. The project file keeps
// them in the generation section's spare string, as a first line "pagewell-settings 1" and then one
// "key=value" line per setting that differs from its default. A spare string without that first line belongs
// to someone else: it gives the defaults and is kept as it is until settings are changed.
//
// Every setting is a row of the key table (Keys()), so a new setting is one
// member and one row.
// How the generator writes its own markup: as earlier versions did, or as
// valid HTML5.
enum class EMarkup { Classic, Modern };

class CSiteSettings : public CDialogRecord {
public:
    enum { IDD = 160 };

    // One setting: its key in the project file and on the command line, the
    // member that holds it, its default, the values it may take (empty: any
    // text on one line), and what the dialog shows.
    struct CKey {
        std::string_view strName;
        CString CSiteSettings::*pMember;
        std::string_view strDefault;
        std::span<const std::string_view> choices;
        std::string_view strLabel;
        std::string_view strHelp;
    };

    static constexpr std::string_view kMarkupClassic = "classic";
    static constexpr std::string_view kMarkupModern = "modern";
    static constexpr std::string_view kEncodingWindows1252 = "windows-1252";
    static constexpr std::string_view kEncodingUtf8 = "utf-8";
    static constexpr std::string_view kExtensionHtm = "htm";
    static constexpr std::string_view kExtensionHtml = "html";
    // The first line that marks a spare string as settings.
    static constexpr std::string_view kHeader = "pagewell-settings 1";

    CSiteSettings();

    int GetDialogId() const override { return IDD; }

    static std::span<const CKey> Keys();
    static const CKey* FindKey(std::string_view name);
    // The field's name as the dialog labels it: "Base URL" for baseurl.
    static CString FieldName(const CKey& key);

    // The settings a spare string holds; the defaults for one that is not ours.
    static CSiteSettings FromSpare(std::string_view spare);
    static bool IsSettingsSpare(std::string_view spare);
    // The spare string of these settings: empty when every setting has its
    // default (and no unknown line is kept).
    CString ToSpare() const;
    // The settings of a project made with File New (and of the example).
    static CSiteSettings ForNewProject();

    CString Get(std::string_view key) const;
    // Sets one setting; false (nothing changed) for an unknown key or a value
    // the key does not allow, with the reason in error. Line ends in a text
    // become blanks: a value is one line of the spare string.
    bool Set(std::string_view key, std::string_view value, CString& error);

    bool IsModern() const { return m_strMarkup == kMarkupModern; }
    EMarkup GetMarkup() const { return IsModern() ? EMarkup::Modern : EMarkup::Classic; }
    bool IsUtf8() const { return m_strEncoding == kEncodingUtf8; }
    // What page file names end with: ".htm" or ".html".
    CString GetPageExtension() const;
    // The width pictures are scaled down to; 0: none.
    int GetMaxWidth() const;
    bool KeepsMetadata() const { return m_strKeepMetadata == "yes"; }
    static constexpr int kMinPictureWidth = 16;
    static constexpr int kMaxPictureWidth = 16384;

    bool operator==(const CSiteSettings& other) const;

    CString m_strLang;
    CString m_strDescription;
    CString m_strBaseUrl;
    CString m_strMarkup;
    CString m_strEncoding;
    CString m_strFavicon;
    CString m_strExtension;
    // Where Publish sends the site (a URL, never with a password).
    CString m_strPublish;
    // The Cache-Control header object storage serves the files with.
    CString m_strCacheControl;
    CString m_strMaxWidth;
    CString m_strKeepMetadata;
    // Lines of a later version's keys, kept so that they survive a save.
    std::vector<CString> m_unknownLines;

private:
    // Set, where bStored reads a value a project holds: a language that is
    // not a tag is kept (the checker reports it) rather than set aside.
    bool Assign(std::string_view name, std::string_view value, CString& error, bool bStored);
};
