#include "model/CPagewellDoc.h"

#include <memory>

#include "model/CNode.h"
#include "model/CTreeStream.h"
#include "platform/CArchive.h"
#include "platform/CClock.h"
#include "platform/CView.h"
#include "platform/IUserInterface.h"

CPagewellDoc* g_pDocument = nullptr;

CPagewellDoc::CPagewellDoc(IUserInterface& ui, CFileSystem& files)
    : CDocument(ui, files)
{
    g_pDocument = this;
    m_tree.AddObserver(this);
}

CPagewellDoc::~CPagewellDoc()
{
    m_tree.RemoveObserver(this);
    if (g_pDocument == this)
        g_pDocument = nullptr;
}

void CPagewellDoc::OnDocProperties()
{
    if (GetUserInterface().DoModal(m_props) == IDOK)
        SetModifiedFlag(true);
}

void CPagewellDoc::OnObjectProperties()
{
    if (m_pCurrent == nullptr)
        return;
    if (GetUserInterface().DoModal(m_pCurrent->m_info) != IDOK)
        return;
    if (m_pCurrent->m_info.m_bBannersTouched != 0)
        m_pCurrent->m_tStamp = CClock::Now();
    SetModifiedFlag(true);
    UpdateAllViews(nullptr, HINT_STORE);
    UpdateAllViews(nullptr, HINT_RELOAD);
}

void CPagewellDoc::OnSiteSettings()
{
    CSiteSettings settings = m_dlgGenerate.GetSiteSettings();
    if (GetUserInterface().DoModal(settings) != IDOK)
        return;
    m_dlgGenerate.SetSiteSettings(settings);
    SetModifiedFlag(true);
}

void CPagewellDoc::OnGenerate()
{
    GetUserInterface().DoModal(m_dlgGenerate);
}

HTREEITEM CPagewellDoc::CreateRootPage()
{
    if (m_tree.IsEmpty()) {
        auto pRoot = std::make_unique<CNode>(nullptr);
        pRoot->m_tStamp = CClock::Now();
        m_tree.InsertItem("Index", std::move(pRoot), nullptr, ETreeInsert::Last);
    }
    return m_tree.GetRootItem();
}

HTREEITEM CPagewellDoc::GetCurrentItem() const
{
    return m_pCurrent != nullptr ? m_tree.FindItem(m_pCurrent) : nullptr;
}

void CPagewellDoc::Serialize(CArchive& ar)
{
    m_props.Serialize(ar);
    m_bBusy = 1;
    if (ar.IsStoring())
        CTreeStream::Write(ar, m_tree);
    else
        CTreeStream::Read(ar, m_tree);
    m_bBusy = 0;
    m_dlgGenerate.Serialize(ar);
}

bool CPagewellDoc::OnNewDocument()
{
    // The properties are asked for before anything is emptied, so that Cancel
    // leaves the open project as it was.
    if (GetUserInterface().DoModal(m_props) != IDOK)
        return false;
    CDocument::OnNewDocument();
    m_bBusy = 1;
    m_tree.DeleteAllItems();
    m_bBusy = 0;
    // A new project writes valid, modern pages.
    m_dlgGenerate.m_strSpare = CSiteSettings::ForNewProject().ToSpare();
    return true;
}

bool CPagewellDoc::OnSaveDocument(const std::string& path)
{
    // Text still held by an editor reaches its object before anything is written.
    UpdateAllViews(nullptr, HINT_STORE);
    // An empty tree could not be read back.
    CreateRootPage();
    return CDocument::OnSaveDocument(path);
}

void CPagewellDoc::LoadDocument(CArchive& ar)
{
    // Read into fresh records; the open project is replaced only when the
    // whole file was read, so a damaged file leaves it untouched.
    CDocProperties props;
    CSiteTree tree;
    CGenerateDlg generate;
    props.Serialize(ar);
    CTreeStream::Read(ar, tree);
    generate.Serialize(ar);

    m_props = props;
    m_bBusy = 1;
    m_tree.Swap(tree);
    m_pCurrent = nullptr;
    m_bBusy = 0;
    m_dlgGenerate.m_strDestination = generate.m_strDestination;
    m_dlgGenerate.m_strSpare = generate.m_strSpare;
}

void CPagewellDoc::OnInitialUpdate()
{
    m_pCurrent = CreateRootPage()->GetNode();
    CDocument::OnInitialUpdate();
}

void CPagewellDoc::OnNodeDeleting(CNode* pNode)
{
    if (pNode == m_pCurrent)
        m_pCurrent = nullptr;
}
