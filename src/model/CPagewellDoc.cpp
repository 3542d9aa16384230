#include "model/CPagewellDoc.h"

#include <algorithm>
#include <cctype>
#include <memory>

#include <nlohmann/json.hpp>
#include <unistd.h>

#include "model/CNode.h"
#include "model/CProjectJson.h"
#include "model/CTreeStream.h"
#include "model/IEditHistory.h"
#include "platform/CArchive.h"
#include "platform/CClock.h"
#include "platform/CCodePage.h"
#include "platform/CFile.h"
#include "platform/CView.h"
#include "platform/IUserInterface.h"

CPagewellDoc* g_pDocument = nullptr;

namespace {

// Puts records read in full from a file in place of the open project's.
void AdoptRecords(
    CPagewellDoc& doc, const CDocProperties& props, CSiteTree& tree, const CGenerateDlg& generate)
{
    doc.m_props = props;
    doc.m_bBusy = 1;
    doc.m_tree.Swap(tree);
    doc.m_pCurrent = nullptr;
    doc.m_bBusy = 0;
    doc.m_dlgGenerate.m_strDestination = generate.m_strDestination;
    doc.m_dlgGenerate.m_strSpare = generate.m_strSpare;
}

} // namespace

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

bool CPagewellDoc::OnDocProperties()
{
    const CDocProperties old = m_props;
    if (GetUserInterface().DoModal(m_props) != IDOK)
        return false;
    SetModifiedFlag(true);
    if (m_pHistory != nullptr)
        m_pHistory->DocPropertiesSet(old);
    // The preview shows the new template set or colours at once.
    UpdateAllViews(nullptr, HINT_STORE);
    return true;
}

bool CPagewellDoc::OnObjectProperties()
{
    if (m_pCurrent == nullptr)
        return false;
    const CDocInfo oldInfo = m_pCurrent->m_info;
    const int32_t tOldStamp = m_pCurrent->m_tStamp;
    if (GetUserInterface().DoModal(m_pCurrent->m_info) != IDOK)
        return false;
    if (m_pCurrent->m_info.m_bBannersTouched != 0)
        m_pCurrent->m_tStamp = CClock::Now();
    SetModifiedFlag(true);
    if (m_pHistory != nullptr)
        m_pHistory->ObjectPropertiesSet(GetCurrentItem(), oldInfo, tOldStamp);
    UpdateAllViews(nullptr, HINT_STORE);
    UpdateAllViews(nullptr, HINT_RELOAD);
    return true;
}

void CPagewellDoc::OnSiteSettings()
{
    CSiteSettings settings = m_dlgGenerate.GetSiteSettings();
    if (GetUserInterface().DoModal(settings) != IDOK)
        return;
    m_dlgGenerate.SetSiteSettings(settings);
    SetModifiedFlag(true);
    UpdateAllViews(nullptr, HINT_STORE);
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
    if (m_bAskNewProperties && GetUserInterface().DoModal(m_props) != IDOK)
        return false;
    CDocument::OnNewDocument();
    m_format = EFormat::Archive;
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
    // Save keeps the form the file has; Save As takes the new name's.
    m_saveFormat = path == GetPathName() ? m_format : FormatOfPath(path);
    if (!CDocument::OnSaveDocument(path))
        return false;
    m_format = m_saveFormat;
    if (m_pHistory != nullptr)
        m_pHistory->Saved();
    return true;
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

    AdoptRecords(*this, props, tree, generate);
}

CPagewellDoc::EFormat CPagewellDoc::FormatOfPath(const std::string& path)
{
    constexpr std::string_view kJson = ".json";
    if (path.size() < kJson.size())
        return EFormat::Archive;
    std::string end = path.substr(path.size() - kJson.size());
    std::transform(end.begin(), end.end(), end.begin(), [](unsigned char c) { return std::tolower(c); });
    return end == kJson ? EFormat::Json : EFormat::Archive;
}

std::string CPagewellDoc::MakeFileBytes()
{
    if (m_format == EFormat::Json)
        return CProjectJson::ToText(*this);
    std::string bytes;
    CArchive ar(bytes);
    Serialize(ar);
    return bytes;
}

bool CPagewellDoc::OpenRecovered(const std::string& bytes, EFormat format, const std::string& path)
{
    const std::string label = path.empty() ? std::string("Untitled") : path;
    if (format == EFormat::Json) {
        if (!ReadJson(bytes, label))
            return false;
    } else {
        CArchive ar { std::string_view(bytes) };
        try {
            LoadDocument(ar);
        } catch (const CArchiveException&) {
            ReportMessage("Unexpected file format.");
            return false;
        }
        m_format = EFormat::Archive;
    }
    SetPathName(path);
    OnInitialUpdate();
    NotifyLoaded();
    SetModifiedFlag(true);
    // The file as it is now is the one the recovered work replaces.
    AcceptDiskStamp();
    SetTitleNote(" (recovered)");
    return true;
}

void CPagewellDoc::WriteToFile(CFile& file)
{
    if (m_saveFormat == EFormat::Json)
        file.Write(CProjectJson::ToText(*this));
    else
        CDocument::WriteToFile(file);
}

namespace {

// A JSON text may start with a byte order mark or blank space.
bool MayStartJson(char first)
{
    constexpr unsigned char kByteOrderMarkStart = 0xEF;
    return first == '{' || first == ' ' || first == '\t' || first == '\n' || first == '\r'
        || static_cast<unsigned char>(first) == kByteOrderMarkStart;
}

} // namespace

bool CPagewellDoc::ReadFromFile(CFile& file, const std::string& path)
{
    // A JSON project is known by its name or, under another name, by being a
    // whole JSON text; the archive's first byte may be '{' or blank too (the
    // length of the author's name), so a file that starts so is read whole
    // first.
    char first = 0;
    const bool bJsonName = FormatOfPath(path) == EFormat::Json;
    const bool bMayBeJson
        = bJsonName || (pread(file.GetDescriptor(), &first, 1, 0) == 1 && MayStartJson(first));
    if (!bMayBeJson) {
        m_format = EFormat::Archive;
        return CDocument::ReadFromFile(file, path);
    }
    std::string text;
    char buffer[1 << 16];
    for (ssize_t n = 0; (n = file.Read(buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    if (file.GetError() != EFileError::None) {
        ReportFileError(file.GetError(), path, false);
        return false;
    }
    if (bJsonName || nlohmann::json::accept(text))
        return ReadJson(text, path);
    m_format = EFormat::Archive;
    CArchive ar { std::string_view(text) };
    return ReadArchive(ar, file, path);
}

bool CPagewellDoc::ReadJson(const std::string& text, const std::string& path)
{
    // Fresh records first, as for the archive: a file that fails leaves the
    // open project as it was.
    CDocProperties props;
    CSiteTree tree;
    CGenerateDlg generate;
    const std::string error = CProjectJson::ReadText(text, props, tree, generate);
    if (!error.empty()) {
        ReportMessage(CCodePage::FromUtf8(path + ": " + error));
        return false;
    }
    // Opening applies the banners' expiry as reading an archive does.
    const int64_t now = CClock::Now64();
    for (HTREEITEM h = tree.GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h))
        h->GetNode()->ApplyAutoExpire(now);
    m_format = EFormat::Json;
    AdoptRecords(*this, props, tree, generate);
    return true;
}

void CPagewellDoc::OnInitialUpdate()
{
    // A new or opened project starts without steps to undo.
    if (m_pHistory != nullptr)
        m_pHistory->Cleared();
    m_pCurrent = CreateRootPage()->GetNode();
    CDocument::OnInitialUpdate();
}

void CPagewellDoc::OnNodeDeleting(CNode* pNode)
{
    if (pNode == m_pCurrent)
        m_pCurrent = nullptr;
}
