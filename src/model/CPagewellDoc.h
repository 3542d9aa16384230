#pragma once

#include "generator/CGenerateDlg.h"
#include "model/CDocProperties.h"
#include "model/CSiteTree.h"
#include "model/ISiteTreeObserver.h"
#include "platform/CDocument.h"

class CNode;
class IEditHistory;

// The one project of the running program: project properties, the site tree,
// the current object and the generation settings. The same document serves
// every File New and File Open.
class CPagewellDoc : public CDocument, private ISiteTreeObserver {
public:
    // The document's commands.
    enum : int {
        ID_DOC_PROPERTIES = 32771,
        ID_OBJECT_PROPERTIES = 32783,
        ID_FILE_GENERATE = 32786,
        ID_SITE_SETTINGS = 32810
    };

    explicit CPagewellDoc(IUserInterface& ui, CFileSystem& files = CFileSystem::Real());
    ~CPagewellDoc() override;

    // Runs the project properties dialog; OK marks the project modified.
    // True on OK.
    bool OnDocProperties();
    // Runs the current object's properties dialog; OK re-stamps the object
    // when a banner box was ever clicked, marks the project modified and has
    // the views store and reload. True on OK.
    bool OnObjectProperties();
    // Runs the site settings dialog; OK marks the project modified.
    void OnSiteSettings();
    // Runs the generation dialog; the project is not marked modified.
    void OnGenerate();

    // Creates the root page "Index" when the tree is empty; returns the first
    // top-level item.
    HTREEITEM CreateRootPage();
    // The tree item of the current object, or null.
    HTREEITEM GetCurrentItem() const;

    void Serialize(CArchive& ar) override;

    // The two forms of a project file: the binary archive (.pwl) and the
    // readable JSON text (.json), which suits version control.
    enum class EFormat { Archive, Json };
    // The form of the file the project was read from or last saved to; Save
    // keeps it, Save As takes it from the new name.
    EFormat GetFormat() const { return m_format; }
    // Json for a name ending in ".json" (any case), otherwise Archive.
    static EFormat FormatOfPath(const std::string& path);
    // The bytes Save would write now, in the project's form (the editors'
    // texts must have been stored).
    std::string MakeFileBytes();
    // Opens what MakeFileBytes made (a recovery of unsaved work) as the
    // project at path (empty: untitled), marked modified; the title says it
    // was recovered. False, with a message, when the bytes cannot be read.
    bool OpenRecovered(const std::string& bytes, EFormat format, const std::string& path);

    int32_t m_bBusy = 0; // the tree is being cleared or rebuilt
    CDocProperties m_props;
    CSiteTree m_tree;
    CNode* m_pCurrent = nullptr;
    CGenerateDlg m_dlgGenerate;
    // Whether New asks for the project's properties first (a new project
    // standing in for a file that did not open does not).
    bool m_bAskNewProperties = true;
    // Told of every change so that it can be undone; null keeps nothing.
    IEditHistory* m_pHistory = nullptr;

protected:
    bool OnNewDocument() override;
    bool OnSaveDocument(const std::string& path) override;
    void LoadDocument(CArchive& ar) override;
    bool ReadFromFile(CFile& file, const std::string& path) override;
    void WriteToFile(CFile& file) override;
    void OnInitialUpdate() override;

private:
    void OnNodeDeleting(CNode* pNode) override;
    bool ReadJson(const std::string& text, const std::string& path);

    EFormat m_format = EFormat::Archive;
    EFormat m_saveFormat = EFormat::Archive; // of the save under way
};

// The live document; CDocInfo takes the project's defaults through it.
extern CPagewellDoc* g_pDocument;
