#pragma once

#include <map>
#include <string_view>
#include <vector>

#include "generator/CSiteNames.h"
#include "model/CTreeItem.h"
#include "platform/CString.h"

class CDocProperties;
class CFileLocator;
class CFileSystem;
class CGenerateDlg;
class CGenerationRun;
class CSiteTree;

// A site, or one page of it, as generation would write it, held in memory:
// the page files' bytes and where each image the pages use is read from.
struct CRenderedSite {
    // File name in the destination (tag + ".htm") -> the file's bytes.
    std::map<CString, CString> pages;
    // File name in the destination -> the native path of its source, for the
    // images that exist and stay inside the workspace or the defaults.
    std::map<CString, std::string> images;
    // File name -> bytes of the sitemap, feed and robots.txt a run with a
    // base URL writes beside the pages (a whole site only).
    std::map<CString, std::string> publish;
    // The media type of the pages: HTML in the site's encoding.
    std::string strPageType = "text/html; charset=windows-1252";
    bool IsUtf8() const { return strPageType.ends_with("utf-8"); }
    // The home page's file name (empty when the site has no pages).
    CString strHome;
    // What a run would report: message boxes ("caption: text") and the log
    // lines of problems, in order.
    std::vector<CString> messages;
};

enum class ESiteFile { None, Page, Image, Publish };

// Renders pages into memory through the project's real templates, with no
// message box and nothing written: the preview pane and `serve` use it.
class CSiteRenderer {
public:
    CSiteRenderer(const CSiteTree& tree, const CDocProperties& props, const CGenerateDlg& settings,
        CFileSystem& files, const CFileLocator& locator);

    // The page file of hPage (a page item) with the images it uses. The home
    // page is expanded first (its output dropped), as a run does, so that
    // HOMELINKS holds what it would hold in the generated file.
    CRenderedSite RenderPage(HTREEITEM hPage) const;
    // Every page in tree order and every image, as a whole run makes them.
    CRenderedSite RenderSite() const;

    // The file of the site named name (a plain file name, as a request gives
    // it): a page's bytes, an image read from its source, or a publishing
    // file. None for any
    // other name; nothing outside the site is ever read.
    static ESiteFile ReadFile(
        const CRenderedSite& site, std::string_view name, CString& bytes, CFileSystem& files);

    // The media type a server gives a file of the site, by its extension.
    // pageCharset: the charset of the pages (the encoding setting).
    static std::string ContentType(std::string_view name, std::string_view pageCharset = "windows-1252");

    // The object a link of a page leads to: the page whose file is fileName,
    // or the object of that page whose anchor (tag) is fragment; null when
    // no page has that file name.
    HTREEITEM FindLinkTarget(std::string_view fileName, std::string_view fragment) const;

    // The page's file name in the destination.
    CString GetPageFileName(HTREEITEM hPage) const;

private:
    CSiteNames GetNames() const;
    CRenderedSite RenderPageUnguarded(HTREEITEM hPage) const;
    CRenderedSite RenderSiteUnguarded() const;
    // Adds the images of the run's copy list; reports those that cannot be read.
    void AddImages(CGenerationRun& run, CRenderedSite& site) const;
    void AddPublishFiles(CGenerationRun& run, CRenderedSite& site) const;
    enum class EKeepPage { Always, IfComplete };
    // Adds one page's bytes; false (and a message) when its tag is no file
    // name, or when it is incomplete and only complete pages are kept.
    bool AddPage(CGenerationRun& run, HTREEITEM hPage, EKeepPage eKeep, CRenderedSite& site) const;

    const CSiteTree& m_tree;
    const CDocProperties& m_props;
    const CGenerateDlg& m_settings;
    CFileSystem& m_files;
    const CFileLocator& m_locator;
};
