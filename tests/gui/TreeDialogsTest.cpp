// The insert, position and type dialogs driven as a user drives them: keys
// typed into the tag, buttons clicked, Enter and Escape.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "model/NodeTypes.h"
#include "model/TreeDialogs.h"
#include "tree/CTreeDialogs.h"

namespace {

// Shows a dialog and waits until it has the keyboard focus.
bool Show(QDialog& dialog)
{
    dialog.show();
    dialog.activateWindow();
    return QTest::qWaitForWindowActive(&dialog)
        && QTest::qWaitFor([&] { return dialog.focusWidget() != nullptr; });
}

struct CInsertDialogUser {
    explicit CInsertDialogUser(int nEnable = 7, int nPosition = POS_CHILD)
        : record(Record(nEnable, nPosition))
    { }
    static CInsertObjectDlg Record(int nEnable, int nPosition)
    {
        CInsertObjectDlg dlg;
        dlg.m_nEnable = nEnable;
        dlg.m_nPosition = nPosition;
        return dlg;
    }

    CInsertObjectDlg record;
    int nBeeps = 0;
    CInsertObjectDialog dialog { record, [this] { ++nBeeps; } };
};

TEST(InsertObjectDialog, ShowsItsTextsAndStartsOnOk)
{
    CInsertDialogUser user;
    ASSERT_TRUE(Show(user.dialog));
    EXPECT_EQ(user.dialog.windowTitle(), QStringLiteral("Insert new object"));
    bool bFoundText = false;
    for (const QLabel* pLabel : user.dialog.findChildren<QLabel*>())
        bFoundText |= pLabel->text().contains(QStringLiteral("HTML filename and HTML \"tag\"-names"));
    EXPECT_TRUE(bFoundText);
    EXPECT_EQ(user.dialog.GetTagEdit()->maxLength(), 63);
    EXPECT_EQ(QApplication::focusWidget(), user.dialog.GetOkButton());
    // Tab from OK passes Cancel, then reaches the tag.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), user.dialog.GetTagEdit());
}

TEST(InsertObjectDialog, EnterAtOnceConfirmsAnEmptyTag)
{
    CInsertDialogUser user;
    ASSERT_TRUE(Show(user.dialog));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(user.dialog.result(), QDialog::Accepted);
    EXPECT_EQ(user.record.m_strTag, "");
    EXPECT_EQ(user.record.m_nPosition, POS_CHILD);
}

TEST(InsertObjectDialog, TheFilterCutsAtTheFirstRefusedCharacterWithOneBeep)
{
    CInsertDialogUser user;
    ASSERT_TRUE(Show(user.dialog));
    QLineEdit* pTag = user.dialog.GetTagEdit();
    pTag->setFocus();
    QTest::keyClicks(pTag, QStringLiteral("news"));
    EXPECT_EQ(user.nBeeps, 0);
    QTest::keyClick(pTag, Qt::Key_Space);
    EXPECT_EQ(pTag->text(), QStringLiteral("news"));
    EXPECT_EQ(user.nBeeps, 1);
    QTest::keyClicks(pTag, QStringLiteral("_2-b"));
    EXPECT_EQ(pTag->text(), QStringLiteral("news_2-b"));
    EXPECT_EQ(user.nBeeps, 1);

    // A pasted text is cut at its first refused character, anywhere in it.
    struct {
        const char* pasted;
        const char* kept;
    } cases[] = {
        { "hello world", "hello" },
        { "abcdefghijklmnopqrstuvwxyzabcdefghijklm opq", "abcdefghijklmnopqrstuvwxyzabcdefghijklm" },
        { "caf\xc3\xa9s", "caf" },
        { "a/b", "a" },
    };
    for (const auto& c : cases) {
        pTag->clear();
        const int nBefore = user.nBeeps;
        QApplication::clipboard()->setText(QString::fromUtf8(c.pasted));
        QTest::keyClick(pTag, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(pTag->text(), QString::fromLatin1(c.kept)) << c.pasted;
        EXPECT_EQ(user.nBeeps, nBefore + 1) << c.pasted;
    }
}

TEST(InsertObjectDialog, TheTagHoldsAtMost63Characters)
{
    CInsertDialogUser user;
    ASSERT_TRUE(Show(user.dialog));
    QLineEdit* pTag = user.dialog.GetTagEdit();
    pTag->setFocus();
    QTest::keyClicks(pTag, QString(63, QLatin1Char('x')));
    EXPECT_EQ(pTag->text().size(), 63);
    QTest::keyClick(pTag, Qt::Key_Y);
    EXPECT_EQ(pTag->text(), QString(63, QLatin1Char('x')));
    EXPECT_EQ(user.nBeeps, 0);
    QTest::keyClick(pTag, Qt::Key_Return);
    EXPECT_EQ(user.dialog.result(), QDialog::Accepted);
    EXPECT_EQ(user.record.m_strTag, std::string(63, 'x'));
}

TEST(InsertObjectDialog, CancelLeavesTheRecord)
{
    CInsertDialogUser user;
    ASSERT_TRUE(Show(user.dialog));
    user.dialog.GetTagEdit()->setText(QStringLiteral("typed"));
    user.dialog.GetRadioButton(POS_AFTER)->click();
    QTest::keyClick(&user.dialog, Qt::Key_Escape);
    EXPECT_EQ(user.dialog.result(), QDialog::Rejected);
    EXPECT_EQ(user.record.m_strTag, "");
    EXPECT_EQ(user.record.m_nPosition, POS_CHILD);
}

// The positions offered, the one chosen at first, and the one a click picks.
struct CRadioCase {
    int nEnable;
    int nInitial;
    int nClicked;
};

void ExpectRadios(CRadioRecordDialog& dialog, const CRadioCase& c)
{
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(dialog.GetRadioButton(i)->isEnabled(), (c.nEnable & (1 << i)) != 0) << i;
        EXPECT_EQ(dialog.GetRadioButton(i)->isChecked(), i == c.nInitial) << i;
    }
    EXPECT_EQ(QApplication::focusWidget(), dialog.GetOkButton());
    // On the button's circle.
    QAbstractButton* pClicked = dialog.GetRadioButton(c.nClicked);
    QTest::mouseClick(pClicked, Qt::LeftButton, {}, QPoint(6, pClicked->height() / 2));
    QTest::mouseClick(dialog.GetOkButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

const CRadioCase kPositionCases[] = {
    { 1, POS_CHILD, POS_CHILD }, // the root
    { 6, POS_AFTER, POS_BEFORE }, // a link
    { 7, POS_CHILD, POS_AFTER },
};

TEST(InsertObjectDialog, OffersThePositionsOfItsRecord)
{
    for (const CRadioCase& c : kPositionCases) {
        CInsertDialogUser user(c.nEnable, c.nInitial);
        ASSERT_TRUE(Show(user.dialog));
        user.dialog.GetTagEdit()->setText(QStringLiteral("t"));
        ExpectRadios(user.dialog, c);
        EXPECT_EQ(user.record.m_nPosition, c.nClicked) << c.nEnable;
        EXPECT_EQ(user.record.m_strTag, "t");
    }
}

TEST(InsertPositionDialog, OffersThePositionsOfItsRecord)
{
    for (const CRadioCase& c : kPositionCases) {
        CInsertPositionDlg record;
        record.m_nEnable = c.nEnable;
        record.m_nPosition = c.nInitial;
        CInsertPositionDialog dialog(record);
        ASSERT_TRUE(Show(dialog));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Insert Object at position"));
        ExpectRadios(dialog, c);
        EXPECT_EQ(record.m_nPosition, c.nClicked) << c.nEnable;
    }
}

TEST(SelectTypeDialog, OffersTheTypesOfItsRecord)
{
    const CRadioCase cases[] = {
        { 1, NODE_PAGE, NODE_PAGE }, // the root
        { 3, NODE_PAGE, NODE_PARAGRAPH }, // a page with children
        { 7, NODE_LINK, NODE_PAGE },
    };
    for (const CRadioCase& c : cases) {
        CSelectTypeDlg record;
        record.m_nEnable = c.nEnable;
        record.m_nNewType = c.nInitial;
        CSelectTypeDialog dialog(record);
        ASSERT_TRUE(Show(dialog));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select type of object"));
        EXPECT_EQ(dialog.GetRadioButton(NODE_LINK)->text(), QStringLiteral("Link"));
        ExpectRadios(dialog, c);
        EXPECT_EQ(record.m_nNewType, c.nClicked) << c.nEnable;
    }
}

TEST(SelectTypeDialog, CancelKeepsTheType)
{
    CSelectTypeDlg record;
    record.m_nNewType = NODE_PARAGRAPH;
    CSelectTypeDialog dialog(record);
    ASSERT_TRUE(Show(dialog));
    dialog.GetRadioButton(NODE_PAGE)->click();
    dialog.reject();
    EXPECT_EQ(record.m_nNewType, NODE_PARAGRAPH);
}

} // namespace
