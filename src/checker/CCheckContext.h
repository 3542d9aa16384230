#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "checker/CFinding.h"
#include "generator/CSiteNames.h"
#include "generator/MacroTable.h"
#include "model/CSiteSettings.h"
#include "model/CTreeItem.h"
#include "platform/CString.h"

class CDocProperties;
class CFileLocator;
class CFileSystem;
class CSiteTree;

struct CCheckOptions {
    int64_t asOf = 0; // the moment banners are judged at (seconds since 1970)
    int nSoonDays = 14; // banners expiring within this many days are named
    CSiteSettings settings; // how a run would publish the pictures
    // The converted pictures of earlier runs (empty: converted here).
    std::string strPictureCache;
};

// What every family of checks shares: the site, the generator's naming rules
// under the run's lowercase option, the files of the workspace (only read,
// each looked at once) and the findings gathered so far.
class CCheckContext {
public:
    CCheckContext(const CSiteTree& tree, const CDocProperties& props, bool bLowercase,
        const CString& destination, CFileSystem& files, const CFileLocator& locator, CCheckOptions options);

    const CSiteTree& GetTree() const { return m_tree; }
    const CDocProperties& GetProps() const { return m_props; }
    const CSiteNames& GetNames() const { return m_names; }
    const CString& GetDestination() const { return m_strDestination; }
    CFileSystem& GetFiles() const { return m_files; }
    const CFileLocator& GetLocator() const { return m_locator; }
    const CCheckOptions& GetOptions() const { return m_options; }

    // hItem null: the project as a whole.
    void Add(ESeverity severity, HTREEITEM hItem, CString message, CString hint);
    std::vector<CFinding>& GetFindings() { return m_findings; }
    static CTagPath GetTagPath(HTREEITEM hItem);

    // The page items in the order the generator writes them.
    const std::vector<HTREEITEM>& GetPages();
    // The page that writes each file name (the first, when several do).
    const std::unordered_map<CString, HTREEITEM>& GetPageFiles();

    // An image a property names, as the generator builds its path.
    struct CImageUse {
        HTREEITEM hItem; // null: a project property, a template or a fixed image
        CString strWhat; // "icon", "line image", ...
        CString strPath;
    };
    // What a template of the object type does with an image macro: takes the
    // property ("!"), or names a file of its own, as the image macros read
    // the definition. Recorded while the templates are checked, before the
    // image uses are first asked for.
    void AddTemplateImage(uint32_t type, int nMacro, const CString& definition, const CString& templatePath);
    // The images a run would copy: the images every run copies, those the
    // templates name, and the non-empty image properties of the objects and
    // the project that the templates take.
    const std::vector<CImageUse>& GetImageUses();

    enum class EFileState { Present, Missing, NotRegular, Outside };
    // Where a workspace path (as the program builds it) stands; each path is
    // looked at once.
    EFileState GetFileState(const CString& path);

private:
    const CSiteTree& m_tree;
    const CDocProperties& m_props;
    CSiteNames m_names;
    CString m_strDestination;
    CFileSystem& m_files;
    const CFileLocator& m_locator;
    CCheckOptions m_options;
    // The paths of the objects found so far, shared by their descendants'.
    std::unordered_map<HTREEITEM, CTagPath> m_paths;
    const CTagPath& GetSharedPath(HTREEITEM hItem);

    std::vector<CFinding> m_findings;
    std::vector<HTREEITEM> m_pages;
    bool m_bPagesKnown = false;
    std::unordered_map<CString, HTREEITEM> m_pageFiles;
    bool m_bPageFilesKnown = false;
    std::vector<CImageUse> m_imageUses;
    std::array<std::array<bool, MACRO_COUNT>, 3> m_bPropertyTaken {};
    bool m_bImageUsesKnown = false;
    std::unordered_map<CString, EFileState> m_fileStates;
};
