#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include "platform/CString.h"

// Links that users wrote into body texts and link objects to pages of the
// site by the file extension of earlier versions ("news.htm#today") while
// the site now writes its pages with another one (".html"). Such a link is
// rewritten to the page's file as written now, and only such a link: the
// reference must be a plain file name ending exactly in ".htm" whose tag
// names a page of the site; anything else stays as written.
class CPageLinks {
public:
    // Whether fileName is a page file the run writes.
    using CIsPageFile = std::function<bool(std::string_view fileName)>;

    // extension: the site's page extension (".htm" rewrites nothing).
    CPageLinks(std::string_view extension, CIsPageFile isPageFile)
        : m_strExtension(extension)
        , m_isPageFile(std::move(isPageFile))
    { }

    // The extension page files had before the setting existed.
    static constexpr std::string_view kOldExtension = ".htm";

    // The reference as the generator writes it, or none when it stays.
    std::optional<CString> RewriteReference(std::string_view reference) const;
    // The text with the href of each <a> start tag rewritten.
    CString RewriteText(std::string_view text) const;

private:
    CString m_strExtension;
    CIsPageFile m_isPageFile;
};
