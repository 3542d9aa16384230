#include <gtest/gtest.h>

#include "model/CPagewellDoc.h"
#include "platform/CArchive.h"
#include "platform/CAtomicFile.h"
#include "platform/CClock.h"
#include "platform/CView.h"
#include "support/CScriptedUserInterface.h"
#include "support/TestFiles.h"

namespace {

// A view that records the hints it receives and, on a store, writes its
// pending text into the current object as an editor does.
class CEditorStandIn : public CView {
public:
    explicit CEditorStandIn(CPagewellDoc& doc, std::string name)
        : m_doc(doc)
        , m_strName(std::move(name))
    { }
    void OnUpdate(CView* /*pSender*/, long lHint) override
    {
        m_hints += m_strName + std::to_string(lHint) + " ";
        if (lHint == HINT_STORE && m_doc.m_pCurrent != nullptr && !m_strPending.empty())
            m_doc.m_pCurrent->m_strText = m_strPending;
    }
    CPagewellDoc& m_doc;
    std::string m_strName;
    std::string m_strPending;
    std::string m_hints;
};

class PagewellDoc : public ::testing::Test {
protected:
    PagewellDoc() { EXPECT_TRUE(m_doc.DoFileNew()); }

    CScriptedUserInterface m_ui;
    CPagewellDoc m_doc { m_ui };
    CTempFolder m_folder;
};

TEST_F(PagewellDoc, FileNewAsksForThePropertiesAndMakesTheRootCurrent)
{
    EXPECT_EQ(m_ui.m_dialogs, std::vector<int> { CDocProperties::IDD });
    ASSERT_EQ(m_doc.m_tree.GetCount(), 1u);
    EXPECT_EQ(m_doc.m_pCurrent, m_doc.m_tree.GetRootItem()->GetNode());
    EXPECT_EQ(g_pDocument, &m_doc);
}

TEST_F(PagewellDoc, CancelledFileNewLeavesTheOpenProject)
{
    m_doc.m_tree.GetRootItem()->GetNode()->m_strText = "mine";
    m_doc.SetPathName("/somewhere/site.pwl");
    m_ui.m_dialogAnswers = { IDCANCEL };
    EXPECT_FALSE(m_doc.DoFileNew());
    EXPECT_EQ(m_doc.m_tree.GetRootItem()->GetNode()->m_strText, "mine");
    EXPECT_EQ(m_doc.GetPathName(), "/somewhere/site.pwl");
    EXPECT_NE(m_doc.m_pCurrent, nullptr);
}

TEST_F(PagewellDoc, FileNewKeepsTheProjectPropertiesAsProposals)
{
    m_doc.m_props.m_strAuthor = "Ann";
    m_doc.m_dlgGenerate.m_strDestination = "/srv/www";
    m_doc.m_tree.InsertItem(
        "x", std::make_unique<CNode>(&m_doc), m_doc.m_tree.GetRootItem(), ETreeInsert::Sort);
    std::string seenAuthor;
    m_ui.m_onDialog
        = [&](CDialogRecord& record) { seenAuthor = static_cast<CDocProperties&>(record).m_strAuthor; };
    ASSERT_TRUE(m_doc.DoFileNew());
    EXPECT_EQ(seenAuthor, "Ann");
    EXPECT_EQ(m_doc.m_dlgGenerate.m_strDestination, "/srv/www");
    EXPECT_EQ(m_doc.m_tree.GetCount(), 1u);
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(PagewellDoc, DocumentPropertiesMarkModifiedOnlyOnOk)
{
    m_ui.m_dialogAnswers = { IDCANCEL, IDOK };
    m_doc.OnDocProperties();
    EXPECT_FALSE(m_doc.IsModified());
    m_doc.OnDocProperties();
    EXPECT_TRUE(m_doc.IsModified());
}

TEST_F(PagewellDoc, ANewProjectIsModernAndSiteSettingsMarkModifiedOnlyOnOk)
{
    const CSiteSettings settings = m_doc.m_dlgGenerate.GetSiteSettings();
    EXPECT_TRUE(settings.IsModern());
    EXPECT_TRUE(settings.IsUtf8());
    m_ui.m_dialogAnswers = { IDCANCEL, IDOK };
    m_doc.OnSiteSettings();
    EXPECT_FALSE(m_doc.IsModified());
    m_doc.OnSiteSettings();
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(m_ui.m_dialogs.back(), CSiteSettings::IDD);
    EXPECT_EQ(m_doc.m_dlgGenerate.GetSiteSettings(), settings);
}

TEST_F(PagewellDoc, ObjectPropertiesRestampOnlyAfterABannerClick)
{
    CEditorStandIn view(m_doc, "v");
    m_doc.AddView(&view);
    CNode& root = *m_doc.m_pCurrent;
    root.m_tStamp = 5;
    const CClock::CScopedFake clock(777);

    m_doc.OnObjectProperties();
    EXPECT_EQ(root.m_tStamp, 5) << "OK without a banner click keeps the stamp";
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(view.m_hints, "v1 v0 ");

    m_doc.SetModifiedFlag(false);
    m_ui.m_onDialog = [](CDialogRecord& record) { static_cast<CDocInfo&>(record).m_bBannersTouched = 1; };
    m_ui.m_dialogAnswers = { IDCANCEL };
    m_doc.OnObjectProperties();
    EXPECT_EQ(root.m_tStamp, 5);
    EXPECT_FALSE(m_doc.IsModified());

    m_ui.m_onDialog = nullptr;
    m_doc.OnObjectProperties();
    EXPECT_EQ(root.m_tStamp, 777) << "the touched flag stays set after a cancel";
    m_doc.RemoveView(&view);
}

TEST_F(PagewellDoc, GenerateLeavesTheModifiedFlag)
{
    m_doc.OnGenerate();
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(m_ui.m_dialogs.back(), CGenerateDlg::IDD);
}

TEST_F(PagewellDoc, SavingStoresTheEditorsTextFirst)
{
    CEditorStandIn title(m_doc, "t");
    CEditorStandIn body(m_doc, "b");
    m_doc.AddView(&title);
    m_doc.AddView(&body);
    body.m_strPending = "typed but not stored";
    const std::string path = m_folder.File("site.pwl");
    ASSERT_TRUE(m_doc.DoFileSaveAs(path));
    EXPECT_EQ(title.m_hints + body.m_hints, "t1 b1 ");

    CScriptedUserInterface ui;
    CPagewellDoc loaded(ui);
    ASSERT_TRUE(loaded.DoFileOpen(path));
    EXPECT_EQ(loaded.m_tree.GetRootItem()->GetNode()->m_strText, "typed but not stored");
    m_doc.RemoveView(&title);
    m_doc.RemoveView(&body);
}

TEST_F(PagewellDoc, LowercaseIsNotSavedButTheDestinationIs)
{
    m_doc.m_dlgGenerate.m_strDestination = "/out";
    m_doc.m_dlgGenerate.m_bLowercase = 0;
    const std::string path = m_folder.File("site.pwl");
    ASSERT_TRUE(m_doc.DoFileSaveAs(path));
    CScriptedUserInterface ui;
    CPagewellDoc loaded(ui);
    ASSERT_TRUE(loaded.DoFileOpen(path));
    EXPECT_EQ(loaded.m_dlgGenerate.m_strDestination, "/out");
    EXPECT_EQ(loaded.m_dlgGenerate.m_bLowercase, 1);
}

TEST_F(PagewellDoc, TheFileReadIsKnownOnlyWhileTheDocumentIsUnmodified)
{
    const std::string path = m_folder.File("site.pwl");
    ASSERT_TRUE(m_doc.DoFileSaveAs(path));
    EXPECT_FALSE(m_doc.GetFileRead()) << "a saved document is not what was read";
    CScriptedUserInterface ui;
    CPagewellDoc loaded(ui);
    ASSERT_TRUE(loaded.DoFileOpen(path));
    ASSERT_TRUE(loaded.GetFileRead());
    EXPECT_EQ(loaded.GetFileRead()->stamp, CFileStamp::Of(path));
    EXPECT_GE(loaded.GetFileRead()->tReadNs, loaded.GetFileRead()->stamp.nModified);
    loaded.SetModifiedFlag();
    loaded.SetModifiedFlag(false); // an undo back to the saved state
    EXPECT_FALSE(loaded.GetFileRead());
    ASSERT_TRUE(loaded.DoFileOpen(path));
    ASSERT_TRUE(loaded.GetFileRead());
    EXPECT_FALSE(loaded.DoFileOpen(m_folder.File("missing.pwl")));
    EXPECT_FALSE(loaded.GetFileRead());
}

TEST_F(PagewellDoc, AFailedSaveKeepsTheOldFileAndTheModifiedFlag)
{
    const std::string path = m_folder.File("site.pwl");
    ASSERT_TRUE(m_doc.DoFileSaveAs(path));
    const std::string before = ReadWholeFile(path);

    class CFailingFiles : public CFileSystem {
    public:
        std::unique_ptr<CAtomicFile> CreateAtomic(const std::string& /*path*/, EFileError& error) override
        {
            error = EFileError::DiskFull;
            return nullptr;
        }
    } failing;
    CScriptedUserInterface ui;
    CPagewellDoc doc(ui, failing);
    ASSERT_TRUE(doc.DoFileOpen(path));
    doc.m_pCurrent->m_strText = "changed";
    doc.SetModifiedFlag();
    EXPECT_FALSE(doc.DoFileSave());
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(ui.m_messages.size(), 1u);
    EXPECT_EQ(ui.m_messages[0].strText, "Destination disk is full.");
    EXPECT_EQ(ReadWholeFile(path), before);
}

TEST_F(PagewellDoc, SaveChangesIsAskedBeforeOpeningAnother)
{
    const std::string path = m_folder.File("site.pwl");
    ASSERT_TRUE(m_doc.DoFileSaveAs(path));
    m_doc.SetModifiedFlag();
    m_ui.m_messageAnswers = { IDCANCEL };
    EXPECT_FALSE(m_doc.DoFileOpen(path));
    ASSERT_EQ(m_ui.m_messages.size(), 1u);
    EXPECT_EQ(m_ui.m_messages[0].strText, "Save changes to site.pwl?");
    EXPECT_EQ(m_ui.m_messages[0].buttons, EMessageButtons::YesNoCancel);

    m_ui.m_messageAnswers = { IDNO };
    EXPECT_TRUE(m_doc.DoFileOpen(path));
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(PagewellDoc, AnUntitledProjectAsksWhereToSave)
{
    m_doc.SetModifiedFlag();
    m_ui.m_messageAnswers = { IDYES };
    EXPECT_FALSE(m_doc.SaveModified()) << "cancelling the file name cancels";
    EXPECT_EQ(m_ui.m_messages.back().strText, "Save changes to Untitled?");
    m_ui.m_savePaths = { m_folder.File("new.pwl") };
    m_ui.m_messageAnswers = { IDYES };
    EXPECT_TRUE(m_doc.SaveModified());
    EXPECT_EQ(m_doc.GetPathName(), m_folder.File("new.pwl"));
}

TEST_F(PagewellDoc, TheCurrentObjectNeverOutlivesItsItem)
{
    HTREEITEM hChild = m_doc.m_tree.InsertItem(
        "c", std::make_unique<CNode>(&m_doc), m_doc.m_tree.GetRootItem(), ETreeInsert::Sort);
    m_doc.m_pCurrent = hChild->GetNode();
    EXPECT_EQ(m_doc.GetCurrentItem(), hChild);
    m_doc.m_tree.DeleteItem(hChild);
    EXPECT_EQ(m_doc.m_pCurrent, nullptr);
    EXPECT_EQ(m_doc.GetCurrentItem(), nullptr);
}

} // namespace
