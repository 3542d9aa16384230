#pragma once

#include "generator/CGenerateDlg.h"
#include "model/CDocProperties.h"
#include "model/CSiteTree.h"
#include "model/ISiteTreeObserver.h"
#include "platform/CDocument.h"

class CNode;

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
    void OnDocProperties();
    // Runs the current object's properties dialog; OK re-stamps the object
    // when a banner box was ever clicked, marks the project modified and has
    // the views store and reload.
    void OnObjectProperties();
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

    int32_t m_bBusy = 0; // the tree is being cleared or rebuilt
    CDocProperties m_props;
    CSiteTree m_tree;
    CNode* m_pCurrent = nullptr;
    CGenerateDlg m_dlgGenerate;

protected:
    bool OnNewDocument() override;
    bool OnSaveDocument(const std::string& path) override;
    void LoadDocument(CArchive& ar) override;
    void OnInitialUpdate() override;

private:
    void OnNodeDeleting(CNode* pNode) override;
};

// The live document; CDocInfo takes the project's defaults through it.
extern CPagewellDoc* g_pDocument;
