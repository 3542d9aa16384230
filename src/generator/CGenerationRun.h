#pragma once

#include <array>
#include <memory>
#include <optional>
#include <unordered_set>

#include "generator/CContentsWriter.h"
#include "generator/CCopyList.h"
#include "generator/CGenerationLog.h"
#include "generator/CPageLinks.h"
#include "generator/CPageWriter.h"
#include "generator/CRecordingFileSystem.h"
#include "generator/CRunUserInterface.h"
#include "generator/CSiteNames.h"
#include "generator/CSiteOutput.h"
#include "generator/CSitePictures.h"
#include "generator/CTemplateCache.h"
#include "generator/CTextPreparer.h"
#include "generator/CVectorImages.h"
#include "model/CSiteSettings.h"
#include "model/CTreeItem.h"
#include "platform/CDocument.h"
#include "platform/CFileLocator.h"
#include "platform/CString.h"

class CDocProperties;
class CFileSystem;
class CGenerateDlg;
class CMacroContext;
class CSiteTree;
class IUserInterface;

// One press of the Generate button: writes a file per page of the site into
// the destination, copies the images the pages use beside them and shows the
// log. Holds the run-wide state: the log, the home links and the copy list.
class CGenerationRun {
public:
    // The destination, the lowercase option and the site settings are taken
    // from settings now.
    CGenerationRun(const CSiteTree& tree, const CDocProperties& props, const CGenerateDlg& settings,
        IUserInterface& ui, CFileSystem& files, const CFileLocator& locator);
    CGenerationRun(const CGenerationRun&) = delete;
    CGenerationRun& operator=(const CGenerationRun&) = delete;

    // The whole run: every page in tree order, then the images; the log goes
    // to the user interface at the end. Refused with a message when no
    // destination is set; out of memory, it ends with a message.
    void Run();

    // Keeps a record of each finished run in folder (the user's cache) and
    // answers a run whose inputs are all unchanged from it: the same
    // messages and log, nothing written (see CRunRecord). Off unless set.
    // A file changed within stampWindow before the run may keep its stamp
    // through another change (file times are coarse): such a run is not kept.
    void SetRecordFolder(std::string folder, int64_t nStampWindowNs = kStampWindowNs)
    {
        // The converted pictures are kept beside the records.
        if (!folder.empty())
            m_pictures.SetCacheFolder(folder + "/pictures");
        m_strRecordFolder = std::move(folder);
        m_nStampWindowNs = nStampWindowNs;
    }
    static constexpr int64_t kStampWindowNs = 2'000'000'000;
    // The project file the tree and properties were read from, unmodified
    // since: the record knows the project by the file's stamp instead of
    // by all it holds, unless the file had changed within the stamp window
    // before it was read.
    void SetProjectFile(const std::optional<CDocument::CFileRead>& fileRead) { m_projectFile = fileRead; }
    // A page file this run committed, stamped as it was committed: the
    // record takes that stamp instead of asking for it again at the end.
    void NoteCommitted(const std::string& path, const CFileStamp& stamp)
    {
        m_files.NoteCommitted(path, stamp);
    }

    // What one page may take: the bytes of any text of its expansion and the
    // number of expansions (the page and every object expanded into it). A
    // template can make a page grow without bound (LINKS assigned twice per
    // level doubles the work with every level); past either limit the page
    // is abandoned with a message and the run goes on. Real sites stay far
    // below: a page's expansions number its sections and links, and the
    // largest benchmark site holds 300,000 objects in all. A million
    // expansions take a few seconds and log about 50 MB.
    struct CPageLimits {
        size_t nMaxBytes = size_t { 256 } << 20;
        size_t nMaxSteps = size_t { 1 } << 20;
    };
    const CPageLimits& GetPageLimits() const { return m_limits; }
    void SetPageLimits(const CPageLimits& limits) { m_limits = limits; }
    // Starts counting the expansions of a new page.
    void BeginPage()
    {
        m_nPageSteps = 0;
        m_pictures.BeginPage();
    }
    // Expands the object of hItem through its template into a new record.
    // Expansions nest through LINKS; past kMaxNesting levels an object is
    // reported and left empty instead of exhausting the stack.
    std::unique_ptr<CMacroContext> CreateNode(HTREEITEM hItem);
    static constexpr int kMaxNesting = 200;
    // The images every run copies, whether or not a page uses them.
    static constexpr std::array<const char*, 2> kFixedImages
        = { "images/pagewell.jpg", "images/bluerib.gif" };
    // Copies every file of the copy list into destination.
    void CopyFiles(const CString& destination);

    const CSiteTree& GetTree() const { return m_tree; }
    const CDocProperties& GetProps() const { return m_props; }
    const CString& GetDestination() const { return m_strDestination; }
    const CSiteSettings& GetSiteSettings() const { return m_siteSettings; }
    const CSiteNames& GetNames() const { return m_names; }
    const CTextPreparer& GetPreparer() const { return m_preparer; }
    // Rewrites the links of texts that name a page by the old extension.
    const CPageLinks& GetPageLinks();
    IUserInterface& GetUserInterface() { return m_ui; }
    CFileSystem& GetFileSystem() { return m_files; }
    const CFileLocator& GetLocator() const { return m_locator; }

    CGenerationLog& GetLog() { return m_log; }
    CCopyList& GetCopyList() { return m_copyList; }
    // The files the run puts into the destination.
    CSiteOutput& GetOutput() { return m_output; }
    // After Run: the files of the destination the run wrote or found equal.
    const COutputManifest& GetProduced() const { return m_output.GetProduced(); }
    // The pictures the run converts (modern markup).
    CSitePictures& GetPictures() { return m_pictures; }
    // The files every run copies after the pages: the fixed images, the
    // favicon and a robots.txt of the workspace join the copy list.
    void AddSiteFiles();
    CString& GetHomeLinks() { return m_strHomeLinks; }
    // Each template file is read once per run.
    CTemplateCache& GetTemplates() { return m_templates; }
    CVectorImages& GetVectorImages() { return m_vectorImages; }

private:
    void RunSteps();
    void WritePages();
    // The user interface's first and last steps of a run (the last show the log).
    void ShowStart();
    void ShowEnd();
    // The hash of everything a run depends on besides files.
    std::string MakeRecordKey() const;
    bool IsProjectFileSettled() const;
    // Says what the record of an identical run said; false when there is
    // none. key receives the hash when it had to be made.
    bool AnswerFromRecord(const std::string& recordPath, std::string& key);
    void SaveRecord(const std::string& recordPath, const std::string& key, int64_t tStartNs);
    void ReportOutOfMemory();

    const CSiteTree& m_tree;
    const CDocProperties& m_props;
    CString m_strDestination;
    CSiteSettings m_siteSettings;
    CRunUserInterface m_ui;
    CRecordingFileSystem m_files;
    CFileLocator m_locator;
    CSiteNames m_names;
    CContentsWriter m_contents;
    CTextPreparer m_preparer;
    // The page files of the site, made when a text first needs them.
    std::optional<std::unordered_set<CString>> m_pageFiles;
    std::optional<CPageLinks> m_pageLinks;

    CGenerationLog m_log;
    CCopyList m_copyList;
    CString m_strHomeLinks;
    CTemplateCache m_templates;
    CVectorImages m_vectorImages { m_files, m_locator };
    CSiteOutput m_output { *this };
    CPageWriter m_pageWriter { *this };
    CSitePictures m_pictures { *this };
    bool m_bClean;
    bool m_bLowercase;
    std::string m_strRecordFolder;
    // Why the record of the last run was not used, for the log.
    CString m_strRecordNote;
    int64_t m_nStampWindowNs = kStampWindowNs;
    std::optional<CDocument::CFileRead> m_projectFile;
    int m_nNesting = 0;
    CPageLimits m_limits;
    size_t m_nPageSteps = 0;
};
