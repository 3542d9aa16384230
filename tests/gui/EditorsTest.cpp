// The tree view's selection protocol and label editing, and the two editors:
// insertion and format commands, fonts by style, word wrap and alignment,
// the colour display, and stores that never reach a deleted object.
#include <QLineEdit>
#include <QSignalSpy>
#include <QTextDocument>

#include "GuiFixture.h"
#include "app/QtText.h"
#include "editors/CInsertDialogs.h"
#include "tree/CSiteTreeModel.h"

namespace {

using CEditors = CGuiFixture;

void SelectText(QPlainTextEdit& edit, int nStart, int nEnd)
{
    QTextCursor cursor = edit.textCursor();
    cursor.setPosition(nStart);
    cursor.setPosition(nEnd, QTextCursor::KeepAnchor);
    edit.setTextCursor(cursor);
}

TEST_F(CEditors, SelectionStoresIntoTheOldObjectAndShowsTheNew)
{
    ASSERT_TRUE(Start());
    HTREEITEM hRoot = Doc().m_tree.GetRootItem();
    HTREEITEM hChild = AddItem(hRoot, "child", NODE_PARAGRAPH, "child text");
    ASSERT_TRUE(Focus(Body()));
    QTest::keyClicks(&Body(), "root text");
    Tree().SelectItem(hChild);
    EXPECT_EQ(CSiteTree::GetItemData(hRoot)->m_strText, "root text");
    EXPECT_EQ(Doc().m_pCurrent, CSiteTree::GetItemData(hChild));
    EXPECT_EQ(Body().toPlainText(), QStringLiteral("child text"));
    EXPECT_EQ(Title().toPlainText(), QStringLiteral("child"));

    // While the document is busy, a selection changes nothing.
    Body().setPlainText(QStringLiteral("unstored"));
    Doc().m_bBusy = 1;
    Tree().SelectItem(hRoot);
    Doc().m_bBusy = 0;
    EXPECT_EQ(Doc().m_pCurrent, CSiteTree::GetItemData(hChild));
    EXPECT_EQ(CSiteTree::GetItemData(hChild)->m_strText, "child text");
    EXPECT_EQ(Body().toPlainText(), QStringLiteral("unstored"));
}

TEST_F(CEditors, CurrentPageIsTheNearestPageAbove)
{
    ASSERT_TRUE(Start());
    HTREEITEM hRoot = Doc().m_tree.GetRootItem();
    HTREEITEM hPage = AddItem(hRoot, "page", NODE_PAGE);
    HTREEITEM hPara = AddItem(hPage, "para", NODE_PARAGRAPH);
    HTREEITEM hDeep = AddItem(hPara, "deep", NODE_PARAGRAPH);
    HTREEITEM hLink = AddItem(hRoot, "link", NODE_LINK);
    const struct {
        HTREEITEM hSelect;
        HTREEITEM hPage;
    } cases[] = { { hDeep, hPage }, { hLink, hRoot }, { hPage, hPage }, { hRoot, hRoot } };
    for (const auto& c : cases) {
        Tree().SelectItem(c.hSelect);
        EXPECT_EQ(Tree().GetCurrentPage(), CSiteTree::GetItemData(c.hPage));
    }
}

TEST_F(CEditors, LabelEditAcceptsOneToThirtyOneCharacters)
{
    ASSERT_TRUE(Start());
    CSiteTreeModel& model = Tree().GetModel();
    const QModelIndex root = model.index(0, 0);
    const struct {
        QString label;
        bool bAccepted;
    } cases[] = {
        { QStringLiteral("new-Tag"), true },
        { QString(31, QLatin1Char('a')), true },
        { QString(32, QLatin1Char('b')), false },
        { QString(), false },
        { QStringLiteral("has space!"), true },
    };
    for (const auto& c : cases) {
        Doc().SetModifiedFlag(false);
        const CString before = CSiteTree::GetItemText(Doc().m_tree.GetRootItem());
        EXPECT_EQ(model.setData(root, c.label), c.bAccepted) << c.label.toStdString();
        EXPECT_EQ(Doc().IsModified(), c.bAccepted);
        const CString expected = c.bAccepted ? FromQString(c.label) : before;
        EXPECT_EQ(CSiteTree::GetItemText(Doc().m_tree.GetRootItem()), expected);
    }
    // The editor in place commits through the same rule.
    ASSERT_TRUE(Focus(Tree()));
    Tree().edit(root);
    auto* pEditor = Tree().findChild<QLineEdit*>();
    ASSERT_NE(pEditor, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pEditor->hasFocus(); }, 2000));
    pEditor->setText(QStringLiteral("typed"));
    QTest::keyClick(pEditor, Qt::Key_Return);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return CSiteTree::GetItemText(Doc().m_tree.GetRootItem()) == "typed"; }, 2000));
}

TEST_F(CEditors, DeleteKeyAsksForTheDeleteCommandAndRightClickDoesNothing)
{
    ASSERT_TRUE(Start());
    QSignalSpy spy(&Tree(), &CPagewellView::deleteRequested);
    ASSERT_TRUE(Focus(Tree()));
    QTest::keyClick(&Tree(), Qt::Key_Delete);
    EXPECT_EQ(spy.count(), 1);
    QTest::keyClick(&Tree(), Qt::Key_Down);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(Tree().contextMenuPolicy(), Qt::PreventContextMenu);
}

TEST_F(CEditors, InsertionCommandsInTheBody)
{
    ASSERT_TRUE(Start());
    HTREEITEM hLink = AddItem(Doc().m_tree.GetRootItem(), "link", NODE_LINK, "abc");
    ASSERT_TRUE(Focus(Body()));
    Body().setPlainText(QStringLiteral("abc"));
    SelectText(Body(), 1, 3);
    EXPECT_TRUE(Frame().RunCommand(ID_HTML_BOLD));
    EXPECT_EQ(Body().toPlainText(), QStringLiteral("a<b>bc</b>"));
    EXPECT_EQ(Body().textCursor().selectedText(), QStringLiteral("bc"));
    EXPECT_TRUE(Frame().RunCommand(ID_HTML_PARAGRAPH));
    EXPECT_EQ(Body().toPlainText(), QStringLiteral("a<b></p><p>bc</b>"));
    EXPECT_EQ(Body().textCursor().selectedText(), QStringLiteral("bc"));

    Tree().SelectItem(hLink);
    ASSERT_TRUE(Focus(Body()));
    SelectText(Body(), 3, 3);
    EXPECT_TRUE(Frame().RunCommand(ID_HTML_PARAGRAPH));
    EXPECT_EQ(Body().toPlainText(), QStringLiteral("abc<DD>"));

    // The link and image dialogs; Cancel changes nothing.
    QString reference = QStringLiteral("index.htm#myref");
    bool bAccept = true;
    Body().SetDialogRunner([&](QDialog& dialog) {
        if (auto* pLink = qobject_cast<CInsertLinkDlg*>(&dialog)) {
            pLink->ReferenceEdit()->setText(reference);
            pLink->DescriptionEdit()->setText(QStringLiteral("Index"));
        } else if (auto* pImage = qobject_cast<CInsertImageDlg*>(&dialog)) {
            pImage->FileNameEdit()->setText(QStringLiteral("a.gif"));
        }
        if (!bAccept)
            return static_cast<int>(QDialog::Rejected);
        dialog.accept();
        return static_cast<int>(QDialog::Accepted);
    });
    Body().setPlainText(QStringLiteral("xy"));
    SelectText(Body(), 0, 1);
    EXPECT_TRUE(Frame().RunCommand(ID_HTML_LINK));
    EXPECT_EQ(Body().toPlainText(), QStringLiteral("<A HREF=\"index.htm#myref\">Index</A>xy"));
    EXPECT_EQ(Body().textCursor().selectedText(), QStringLiteral("x"));
    bAccept = false;
    EXPECT_TRUE(Frame().RunCommand(ID_HTML_IMAGE));
    EXPECT_EQ(Body().toPlainText(), QStringLiteral("<A HREF=\"index.htm#myref\">Index</A>xy"));
    bAccept = true;
    Body().setPlainText(QString());
    EXPECT_TRUE(Frame().RunCommand(ID_HTML_IMAGE));
    EXPECT_EQ(Body().toPlainText(), QStringLiteral("<IMG SRC=\"a.gif\"></IMG>"));
}

TEST_F(CEditors, TitleParagraphReplacesTheSelectionAndUndoes)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Focus(Title()));
    Title().setPlainText(QStringLiteral("abc"));
    Title().selectAll();
    EXPECT_TRUE(Frame().RunCommand(ID_HTML_PARAGRAPH));
    EXPECT_EQ(Title().toPlainText(), QStringLiteral("</p><p>"));
    Frame().UpdateCommandUI();
    EXPECT_TRUE(Frame().RunCommand(ID_EDIT_UNDO));
    EXPECT_EQ(Title().toPlainText(), QStringLiteral("abc"));
}

TEST_F(CEditors, FontsByStyle)
{
    ASSERT_TRUE(Start());
    CNode* pRoot = Doc().m_pCurrent;
    const struct {
        uint32_t nTitle;
        int nTitlePoints;
        bool bTitleBold;
        const char* pszTitleFace;
        uint32_t nText;
        int nTextPoints;
        bool bTextBold;
    } cases[] = {
        { STYLE_H1 << 3, 20, true, "Times New Roman", STYLE_H1 << 3, 20, true },
        { STYLE_H2 << 3, 16, true, "Times New Roman", STYLE_NORMAL << 3, 12, false },
        { STYLE_HIDDEN << 3, 12, false, "System", STYLE_HIDDEN << 3, 12, false },
        { 0, 12, false, "Times New Roman", STYLE_H4 << 3 | ALIGN_CENTER, 12, true },
    };
    for (const auto& c : cases) {
        pRoot->m_nTitleFormat = c.nTitle;
        pRoot->m_nTextFormat = c.nText;
        Doc().UpdateAllViews(nullptr, HINT_RELOAD);
        EXPECT_EQ(Title().font().pointSize(), c.nTitlePoints);
        EXPECT_EQ(Title().font().bold(), c.bTitleBold);
        EXPECT_EQ(Title().font().family(), QString::fromLatin1(c.pszTitleFace));
        EXPECT_EQ(Body().font().pointSize(), c.nTextPoints);
        EXPECT_EQ(Body().font().bold(), c.bTextBold);
        EXPECT_EQ(Body().font().family(), QStringLiteral("Times New Roman"));
    }
    // Hide twice: hidden, then back to no style.
    ASSERT_TRUE(Focus(Title()));
    pRoot->m_nTitleFormat = STYLE_H2 << 3;
    Doc().UpdateAllViews(nullptr, HINT_RELOAD);
    EXPECT_TRUE(Frame().RunCommand(ID_STYLE_HIDE));
    EXPECT_EQ(pRoot->m_nTitleFormat, 0x50U);
    EXPECT_EQ(Title().font().family(), QStringLiteral("System"));
    EXPECT_TRUE(Frame().RunCommand(ID_STYLE_HIDE));
    EXPECT_EQ(pRoot->m_nTitleFormat, 0U);
    EXPECT_EQ(Title().font().family(), QStringLiteral("Times New Roman"));
    EXPECT_EQ(Title().lineWrapMode(), QPlainTextEdit::NoWrap);
}

TEST_F(CEditors, WordWrapShowsTheAlignment)
{
    ASSERT_TRUE(Start());
    CNode* pRoot = Doc().m_pCurrent;
    ASSERT_TRUE(Focus(Body()));
    QTest::keyClicks(&Body(), "kept");
    auto shown
        = [&] { return Body().document()->defaultTextOption().alignment() & Qt::AlignHorizontal_Mask; };
    EXPECT_TRUE(Frame().RunCommand(ID_ALIGN_CENTER));
    EXPECT_EQ(shown(), Qt::AlignHCenter);
    EXPECT_TRUE(Frame().RunCommand(ID_ALIGN_RIGHT));
    EXPECT_EQ(shown(), Qt::AlignRight);
    // Word wrap off: left-aligned, the field unchanged; the typed text stays.
    QTest::keyClicks(&Body(), "+typed");
    EXPECT_TRUE(Frame().RunCommand(ID_VIEW_WORDWRAP));
    EXPECT_FALSE(Body().IsWordWrap());
    EXPECT_FALSE(g_bWordWrap);
    EXPECT_EQ(shown(), Qt::AlignLeft);
    EXPECT_EQ(GetAlignment(pRoot->m_nTextFormat), ALIGN_RIGHT);
    EXPECT_TRUE(Body().hasFocus());
    EXPECT_EQ(pRoot->m_strText, "+typedkept");
    EXPECT_EQ(Body().toPlainText(), QStringLiteral("+typedkept"));
    EXPECT_FALSE(Frame().GetRouter().Query(ID_VIEW_WORDWRAP).m_bChecked);
    EXPECT_TRUE(Frame().RunCommand(ID_VIEW_WORDWRAP));
    EXPECT_EQ(shown(), Qt::AlignRight);
    // Left pressed twice leaves the field at 0.
    EXPECT_TRUE(Frame().RunCommand(ID_ALIGN_LEFT));
    EXPECT_TRUE(Frame().RunCommand(ID_ALIGN_LEFT));
    EXPECT_EQ(GetAlignment(pRoot->m_nTextFormat), ALIGN_NONE);
    EXPECT_EQ(shown(), Qt::AlignLeft);
}

TEST_F(CEditors, PageColoursShowOnlyWithoutFocus)
{
    ASSERT_TRUE(Start());
    CNode* pRoot = Doc().m_pCurrent;
    pRoot->m_info.m_clrBg = 0x00336699; // red 0x99, green 0x66, blue 0x33
    pRoot->m_info.m_clrText = 0x00FFFFFF;
    HTREEITEM hPara = AddItem(Doc().m_tree.GetRootItem(), "para", NODE_PARAGRAPH);
    Tree().SelectItem(hPara);
    ASSERT_TRUE(Focus(Tree()));
    EXPECT_TRUE(Body().IsShowingPageColors());
    EXPECT_EQ(Body().palette().color(QPalette::Base), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(Body().palette().color(QPalette::Text), QColor(Qt::white));
    ASSERT_TRUE(Focus(Body()));
    EXPECT_FALSE(Body().IsShowingPageColors());
    ASSERT_TRUE(Focus(Tree()));
    EXPECT_TRUE(Body().IsShowingPageColors());
    // Colors off.
    Body().OnCommand(ID_VIEW_COLORS);
    EXPECT_FALSE(g_bShowColors);
    EXPECT_FALSE(Body().IsShowingPageColors());
}

TEST_F(CEditors, NoStoreReachesADeletedObject)
{
    ASSERT_TRUE(Start());
    HTREEITEM hChild = AddItem(Doc().m_tree.GetRootItem(), "child", NODE_PARAGRAPH, "t");
    Tree().SelectItem(hChild);
    ASSERT_TRUE(Focus(Body()));
    QTest::keyClicks(&Body(), "x");
    // Deleting the current object's item clears the current object; the
    // editors' later stores do nothing (the sanitizer would see a write to
    // the freed object).
    Doc().m_bBusy = 1;
    Doc().m_tree.DeleteItem(hChild);
    Doc().m_bBusy = 0;
    EXPECT_EQ(Doc().m_pCurrent, nullptr);
    Doc().UpdateAllViews(nullptr, HINT_STORE);
    ASSERT_TRUE(Focus(Tree()));
    Doc().UpdateAllViews(nullptr, HINT_RELOAD);
    EXPECT_TRUE(Body().isReadOnly());
    EXPECT_FALSE(IsEnabled(ID_OBJECT_PROPERTIES));
}

} // namespace
