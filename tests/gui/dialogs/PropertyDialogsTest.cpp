// The project and object properties dialogs, run offscreen: what they show,
// what OK and Cancel leave in the records, the shared colour dialog, and the
// document commands that run them.

#include <memory>

#include <QBuffer>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "DialogTestSupport.h"
#include "app/QtText.h"
#include "dialogs/CDocInfoDialog.h"
#include "dialogs/CDocPropertiesDialog.h"
#include "model/CNode.h"
#include "model/CPagewellDoc.h"
#include "platform/CClock.h"

namespace {

QStringList Items(QComboBox* pCombo)
{
    QStringList items;
    for (int i = 0; i < pCombo->count(); ++i)
        items << pCombo->itemText(i);
    return items;
}

// Answers the next colour dialog: checks that it opened on the expected
// colour, picks chosen (if accept), and sets custom colour 0 to custom.
void AnswerColorDialog(QColor opened, QColor chosen, QColor custom, bool accept, QWidget* pExcept,
    QColor* pSeenCustom3 = nullptr)
{
    WhenModalOpens(
        [=](QWidget* pWindow) {
            auto* pColor = qobject_cast<QColorDialog*>(pWindow);
            QVERIFY(pColor != nullptr);
            QCOMPARE(pColor->currentColor(), opened);
            if (pSeenCustom3 != nullptr)
                *pSeenCustom3 = QColorDialog::customColor(3);
            QColorDialog::setCustomColor(0, custom);
            pColor->setCurrentColor(chosen);
            if (accept)
                pColor->accept();
            else
                pColor->reject();
        },
        pExcept);
}

// A workspace with resource folders of every kind.
void FillWorkspace(CWorkspace& workspace)
{
    for (const char* name :
        { "templates/Default.hdr.txt", "templates/Default.pgh.txt", "templates/Default.lnk.txt",
            "templates/Blue.hdr.txt", "templates/Note.pgh.txt", "templates/Ext.lnk.txt", "images/home.gif",
            "images/Back.gif", "images/up.GIF", "images/photo.jpg", "background/paper.jpg",
            "background/dots.gif", "lineimages/wave.gif", "bullets/ball.gif" })
        workspace.AddFile(QString::fromLatin1(name));
}

} // namespace

class CPropertyDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { CancelModalWatchers(); }

    void DocumentDialogShowsTheRecord()
    {
        CWorkspace workspace;
        FillWorkspace(workspace);
        // A picture of the example in the set "Blue"; "Default" has none.
        QImage picture(16, 12, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        workspace.AddFile(QStringLiteral("templates/Blue.png"), png);
        CDocProperties props;
        props.m_strBackButton = "back.GIF";
        props.m_strBullet = "mine.gif";
        CDocPropertiesDialog dialog(props);
        dialog.show();

        QCOMPARE(dialog.windowTitle(), QString("Document Properties"));
        QCOMPARE(Find<QLineEdit>(&dialog, "author")->text(), QString("Your name"));
        QCOMPARE(Find<QLineEdit>(&dialog, "expireDays")->text(), QString("14"));
        QVERIFY(Find<QCheckBox>(&dialog, "new")->isChecked());
        QVERIFY(!Find<QCheckBox>(&dialog, "updated")->isChecked());
        // Templates: page templates stripped, then the empty entry.
        QCOMPARE(Items(Find<QComboBox>(&dialog, "template")), (QStringList { "Blue", "Default", "" }));
        QCOMPARE(Find<QComboBox>(&dialog, "template")->currentText(), QString("Default"));
        QVERIFY(!Find<QComboBox>(&dialog, "template")->itemIcon(0).isNull());
        QVERIFY(Find<QComboBox>(&dialog, "template")->itemIcon(1).isNull());
        QCOMPARE(Items(Find<QComboBox>(&dialog, "homeButton")),
            (QStringList { "Back.gif", "home.gif", "photo.jpg", "up.GIF" }));
        QCOMPARE(Items(Find<QComboBox>(&dialog, "bgBitmap")), (QStringList { "dots.gif", "paper.jpg" }));
        QCOMPARE(Items(Find<QComboBox>(&dialog, "lineImage")), QStringList { "wave.gif" });
        QCOMPARE(Items(Find<QComboBox>(&dialog, "bullet")), QStringList { "ball.gif" });
        QCOMPARE(Find<QComboBox>(&dialog, "backButton")->currentIndex(), 0);
        QCOMPARE(Find<QComboBox>(&dialog, "bullet")->currentIndex(), -1);
        QCOMPARE(Find<QComboBox>(&dialog, "bullet")->currentText(), QString("mine.gif"));
        QCOMPARE(Find<QComboBox>(&dialog, "bgBitmap")->currentText(), QString());
    }

    void DocumentDialogStoresOnOk()
    {
        CWorkspace workspace;
        FillWorkspace(workspace);
        CDocProperties props;
        props.m_strBackButton = "back.GIF";
        CDocPropertiesDialog dialog(props);
        dialog.show();
        SetText(&dialog, "author", "Ann");
        SetText(&dialog, "expireDays", "45"); // any integer here
        Click(&dialog, "updated");
        Find<QComboBox>(&dialog, "template")->setCurrentIndex(0);
        Find<QComboBox>(&dialog, "upButton")->setEditText("arrow.png");
        Click(&dialog, "ok");

        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(ToQString(props.m_strAuthor), QString("Ann"));
        QCOMPARE(props.m_nExpireDays, 45);
        QCOMPARE(props.m_bUpdated, 1);
        QCOMPARE(ToQString(props.m_strTemplate), QString("Blue"));
        QCOMPARE(ToQString(props.m_strUpButton), QString("arrow.png"));
        QCOMPARE(ToQString(props.m_strBackButton), QString("Back.gif")); // the entry's spelling
        QCOMPARE(ToQString(props.m_strBgBitmap), QString()); // empty stays empty
    }

    void DocumentDialogCancelChangesNothing()
    {
        CWorkspace workspace;
        CDocProperties props;
        CDocPropertiesDialog dialog(props);
        dialog.show();
        SetText(&dialog, "author", "Ann");
        SetText(&dialog, "expireDays", "3");
        Click(&dialog, "cancel");
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(ToQString(props.m_strAuthor), QString("Your name"));
        QCOMPARE(props.m_nExpireDays, 14);
    }

    void BadDaysKeepTheDialogOpen_data()
    {
        QTest::addColumn<bool>("objectDialog");
        QTest::addColumn<QString>("days");
        QTest::addColumn<QString>("message"); // empty: accepted

        QTest::newRow("project: letters") << false << "abc"
                                          << "Please enter an integer.";
        QTest::newRow("project: empty") << false << ""
                                        << "Please enter an integer.";
        QTest::newRow("project: negative is allowed") << false << "-5"
                                                      << "";
        QTest::newRow("object: letters") << true << "1x"
                                         << "Please enter an integer.";
        QTest::newRow("object: above 30") << true << "31"
                                          << "Please enter an integer between 0 and 30.";
        QTest::newRow("object: below 0") << true << "-1"
                                         << "Please enter an integer between 0 and 30.";
        QTest::newRow("object: 30") << true << "30"
                                    << "";
        QTest::newRow("object: 0") << true << "0"
                                   << "";
    }
    void BadDaysKeepTheDialogOpen()
    {
        QFETCH(bool, objectDialog);
        QFETCH(QString, days);
        QFETCH(QString, message);
        CWorkspace workspace;
        CDocProperties props;
        CDocInfo info;
        info.m_nExpireDays = 7;
        std::unique_ptr<QDialog> pDialog;
        if (objectDialog)
            pDialog = std::make_unique<CDocInfoDialog>(info, NODE_PAGE, &props);
        else
            pDialog = std::make_unique<CDocPropertiesDialog>(props);
        pDialog->show();
        Click(pDialog.get(), "new"); // a change that must not land on a refused OK
        SetText(pDialog.get(), "expireDays", days);

        QString shown;
        if (!message.isEmpty()) {
            WhenModalOpens([&shown](QWidget* pBox) {
                shown = MessageBoxText(pBox);
                pBox->close();
            });
        }
        Click(pDialog.get(), "ok");
        if (message.isEmpty()) {
            QCOMPARE(pDialog->result(), int(QDialog::Accepted));
            QCOMPARE(objectDialog ? info.m_nExpireDays : props.m_nExpireDays, days.toInt());
            return;
        }
        QCOMPARE(shown, message);
        QVERIFY(pDialog->isVisible());
        QCOMPARE(Find<QLineEdit>(pDialog.get(), "expireDays")->selectedText(), days);
        QCOMPARE(objectDialog ? info.m_bNew : props.m_bNew, objectDialog ? 0 : 1);
        QCOMPARE(objectDialog ? info.m_nExpireDays : props.m_nExpireDays, objectDialog ? 7 : 14);
    }

    void ColourChosenStaysAfterCancel_data()
    {
        QTest::addColumn<bool>("objectDialog");
        QTest::newRow("project dialog") << false;
        QTest::newRow("object dialog") << true;
    }
    void ColourChosenStaysAfterCancel()
    {
        QFETCH(bool, objectDialog);
        CWorkspace workspace;
        CDocProperties props;
        props.m_clrCustom[3] = 0x00112233;
        CDocInfo info;
        info.m_clrBg = 0x00FFFFFF;
        props.m_clrBg = 0x00FFFFFF;
        std::unique_ptr<QDialog> pDialog;
        if (objectDialog)
            pDialog = std::make_unique<CDocInfoDialog>(info, NODE_PAGE, &props);
        else
            pDialog = std::make_unique<CDocPropertiesDialog>(props);
        pDialog->show();

        QColor seenCustom3;
        AnswerColorDialog(Qt::white, QColor(0x10, 0x20, 0x30), QColor(1, 2, 3), true, nullptr, &seenCustom3);
        Click(pDialog.get(), "bgColor");
        const COLORREF chosen = 0x00302010;
        QCOMPARE(objectDialog ? info.m_clrBg : props.m_clrBg, chosen);
        QCOMPARE(seenCustom3, QColor(0x33, 0x22, 0x11)); // copied in
        Click(pDialog.get(), "cancel");

        QCOMPARE(objectDialog ? info.m_clrBg : props.m_clrBg, chosen);
        if (objectDialog)
            QCOMPARE(props.m_clrBg, COLORREF { 0x00FFFFFF });
        QCOMPARE(props.m_clrCustom[0], COLORREF { 0x00030201 }); // copied out
        QCOMPARE(props.m_clrCustom[1], COLORREF { 0xFFFFFFFF }); // untouched entries keep their bits
        QCOMPARE(props.m_clrCustom[3], COLORREF { 0x00112233 });
    }

    void CancelledColourDialogStillKeepsCustomColours()
    {
        CWorkspace workspace;
        CDocProperties props;
        CDocPropertiesDialog dialog(props);
        dialog.show();
        AnswerColorDialog(QColor(0, 0, 0), QColor(9, 9, 9), QColor(4, 5, 6), false, nullptr);
        Click(&dialog, "textColor");
        QCOMPARE(props.m_clrText, COLORREF { 0 });
        QCOMPARE(props.m_clrCustom[0], COLORREF { 0x00060504 });
    }

    void ObjectDialogFollowsTheType_data()
    {
        QTest::addColumn<uint>("type");
        QTest::addColumn<bool>("style");
        QTest::addColumn<bool>("lineImage");
        QTest::addColumn<QStringList>("templates");

        QTest::newRow("page") << uint(NODE_PAGE) << true << true << QStringList { "Blue", "Default", "" };
        QTest::newRow("paragraph") << uint(NODE_PARAGRAPH) << false << true
                                   << QStringList { "Default", "Note", "" };
        QTest::newRow("link") << uint(NODE_LINK) << false << false << QStringList { "Default", "Ext", "" };
        QTest::newRow("unknown type") << 7u << false << true << QStringList { "" };
    }
    void ObjectDialogFollowsTheType()
    {
        QFETCH(uint, type);
        QFETCH(bool, style);
        QFETCH(bool, lineImage);
        QFETCH(QStringList, templates);
        CWorkspace workspace;
        FillWorkspace(workspace);
        CDocInfo info;
        info.m_strTemplate = "Default";
        CDocInfoDialog dialog(info, type, nullptr);
        dialog.show();

        QCOMPARE(dialog.windowTitle(), QString("Object properties"));
        for (const char* name : { "style", "bgBitmap", "textColor", "bgColor", "linkColor", "vLinkColor" })
            QCOMPARE(Find<QWidget>(&dialog, name)->isEnabled(), style);
        QCOMPARE(Find<QWidget>(&dialog, "lineImage")->isEnabled(), lineImage);
        QVERIFY(Find<QWidget>(&dialog, "icon")->isEnabled());
        QCOMPARE(Items(Find<QComboBox>(&dialog, "template")), templates);
        QCOMPARE(Items(Find<QComboBox>(&dialog, "icon")),
            (QStringList { "Back.gif", "home.gif", "photo.jpg", "up.GIF" }));
    }

    void BannerClickTouchesEvenOnCancel()
    {
        CWorkspace workspace;
        CDocInfo info;
        CDocInfoDialog dialog(info, NODE_PAGE, nullptr);
        dialog.show();
        SetText(&dialog, "expireDays", "5");
        QCOMPARE(info.m_bBannersTouched, 0);
        Click(&dialog, "construction");
        QCOMPARE(info.m_bBannersTouched, 1);
        Click(&dialog, "cancel");
        QCOMPARE(info.m_bBannersTouched, 1);
        QCOMPARE(info.m_bConstruction, 0);
        QCOMPARE(info.m_nExpireDays, 0);
    }

    // Command 32783 through the registered dialog: the re-stamp rules.
    void ObjectCommandRestamps_data()
    {
        QTest::addColumn<int>("clicks"); // on the "New" box
        QTest::addColumn<bool>("ok");
        QTest::addColumn<bool>("touchedBefore");
        QTest::addColumn<bool>("restamped");
        QTest::addColumn<bool>("modified");

        QTest::newRow("OK without a click") << 0 << true << false << false << true;
        QTest::newRow("two clicks back to the old state") << 2 << true << false << true << true;
        QTest::newRow("click then cancel") << 1 << false << false << false << false;
        QTest::newRow("touched earlier, OK without a click") << 0 << true << true << true << true;
    }
    void ObjectCommandRestamps()
    {
        QFETCH(int, clicks);
        QFETCH(bool, ok);
        QFETCH(bool, touchedBefore);
        QFETCH(bool, restamped);
        QFETCH(bool, modified);
        CWorkspace workspace;
        CDialogTestUserInterface ui;
        CPagewellDoc document(ui);
        CNode* pRoot = document.CreateRootPage()->GetNode();
        document.m_pCurrent = pRoot;
        pRoot->m_tStamp = 100;
        pRoot->m_info.m_bNew = 1;
        pRoot->m_info.m_nExpireDays = 5;
        pRoot->m_info.m_bBannersTouched = touchedBefore ? 1 : 0;
        CClock::CScopedFake clock(5000);

        WhenModalOpens([=](QWidget* pDialog) {
            for (int i = 0; i < clicks; ++i)
                Click(pDialog, "new");
            Click(pDialog, ok ? "ok" : "cancel");
        });
        document.OnObjectProperties();

        QCOMPARE(pRoot->m_tStamp, restamped ? 5000 : 100);
        QCOMPARE(document.IsModified(), modified);
        QCOMPARE(pRoot->m_info.m_bNew, 1);
        QCOMPARE(pRoot->m_info.m_bBannersTouched, (clicks > 0 || touchedBefore) ? 1 : 0);
    }

    void ObjectCommandUsesTheCurrentObjectsType()
    {
        CWorkspace workspace;
        FillWorkspace(workspace);
        CDialogTestUserInterface ui;
        CPagewellDoc document(ui);
        HTREEITEM hRoot = document.CreateRootPage();
        auto pLink = std::make_unique<CNode>(&document);
        pLink->m_nType = NODE_LINK;
        CNode* pNode = pLink.get();
        document.m_tree.InsertItem("ext", std::move(pLink), hRoot, ETreeInsert::Last);
        document.m_pCurrent = pNode;

        QStringList templates;
        bool bLineEnabled = true;
        WhenModalOpens([&](QWidget* pDialog) {
            templates = Items(Find<QComboBox>(pDialog, "template"));
            bLineEnabled = Find<QWidget>(pDialog, "lineImage")->isEnabled();
            Click(pDialog, "cancel");
        });
        document.OnObjectProperties();
        QCOMPARE(templates, (QStringList { "Default", "Ext", "" }));
        QVERIFY(!bLineEnabled);
    }

    // Command 32771: a colour picked and then cancelled stays, but the
    // project is not marked modified; OK marks it.
    void DocumentCommand_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("cancel") << false;
        QTest::newRow("ok") << true;
    }
    void DocumentCommand()
    {
        QFETCH(bool, ok);
        CWorkspace workspace;
        CDialogTestUserInterface ui;
        CPagewellDoc document(ui);
        WhenModalOpens([=](QWidget* pDialog) {
            AnswerColorDialog(QColor(0, 0, 255), QColor(0, 128, 0), QColor(7, 7, 7), true, pDialog);
            Click(pDialog, "linkColor");
            Click(pDialog, ok ? "ok" : "cancel");
        });
        document.OnDocProperties();
        QCOMPARE(document.m_props.m_clrLink, COLORREF { 0x008000 });
        QCOMPARE(document.IsModified(), ok);
    }

    // The site settings command: the dialog shows the project's settings,
    // every control named; OK stores what was typed and chosen.
    void SiteSettingsCommand_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("cancel") << false;
        QTest::newRow("ok") << true;
    }
    void SiteSettingsCommand()
    {
        QFETCH(bool, ok);
        CWorkspace workspace;
        CDialogTestUserInterface ui;
        CPagewellDoc document(ui);
        document.m_dlgGenerate.m_strSpare = "pagewell-settings 1\nlang=de\n";
        QString shownLang;
        WhenModalOpens([&](QWidget* pDialog) {
            for (const char* name : { "lang", "description", "baseurl", "markup", "encoding" })
                QVERIFY(!Find<QWidget>(pDialog, name)->accessibleName().isEmpty());
            shownLang = Find<QLineEdit>(pDialog, "lang")->text();
            QCOMPARE(Find<QComboBox>(pDialog, "markup")->currentText(), QString("classic"));
            // Typed keys are ASCII only: the rest goes in as pasted text would.
            SetText(pDialog, "baseurl", "https://x.org/");
            Find<QLineEdit>(pDialog, "description")->setText(QString::fromUtf8("Caf\u00e9 \u4e2d"));
            Find<QComboBox>(pDialog, "encoding")->setCurrentText("utf-8");
            Click(pDialog, ok ? "ok" : "cancel");
        });
        document.OnSiteSettings();
        QCOMPARE(shownLang, QString("de"));
        QCOMPARE(document.IsModified(), ok);
        const CString expected = ok ? "pagewell-settings 1\nlang=de\ndescription=Caf\xe9 "
                                      "&#20013;\nbaseurl=https://x.org/\nencoding=utf-8\n"
                                    : "pagewell-settings 1\nlang=de\n";
        QVERIFY2(document.m_dlgGenerate.m_strSpare == expected, document.m_dlgGenerate.m_strSpare.c_str());
    }

    // A base URL that is no http(s) address is refused at OK with a message;
    // the dialog stays open and the project unchanged.
    // A refused value names the field as the dialog labels it; the hyphen of
    // a code in the message does not break.
    void SiteSettingsRefuseAValueInTheUsersWords_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("base URL") << "baseurl"
                                  << "example.org"
                                  << "Base URL must be an address starting with http:// or https://";
        QTest::newRow("language in words") << "lang"
                                           << "English (UK)"
                                           << "Site language: 'English (UK)' is not a language tag";
    }
    void SiteSettingsRefuseAValueInTheUsersWords()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        CWorkspace workspace;
        CDialogTestUserInterface ui;
        CPagewellDoc document(ui);
        document.m_dlgGenerate.m_strSpare = "pagewell-settings 1\nlang=de\n";
        QString message;
        bool bStayedOpen = false;
        WhenModalOpens([&](QWidget* pDialog) {
            SetText(pDialog, field.toLatin1().constData(), value);
            WhenModalOpens(
                [&](QWidget* pBox) {
                    message = MessageBoxText(pBox);
                    QTest::keyClick(pBox, Qt::Key_Return);
                },
                pDialog);
            Click(pDialog, "ok");
            bStayedOpen = pDialog->isVisible();
            Click(pDialog, "cancel");
        });
        document.OnSiteSettings();
        QVERIFY2(message.startsWith(expected), qPrintable(message));
        QVERIFY(!message.contains(QStringLiteral("de-CH")));
        QVERIFY(bStayedOpen);
        QVERIFY(!document.IsModified());
        QVERIFY(document.m_dlgGenerate.m_strSpare == "pagewell-settings 1\nlang=de\n");
    }

    // File New asks for the project properties; Cancel leaves the open
    // project as it was.
    void FileNew_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("items");
        QTest::newRow("cancel keeps the project") << false << 2;
        QTest::newRow("ok starts a new one") << true << 1;
    }
    void FileNew()
    {
        QFETCH(bool, ok);
        QFETCH(int, items);
        CWorkspace workspace;
        CDialogTestUserInterface ui;
        CPagewellDoc document(ui);
        HTREEITEM hRoot = document.CreateRootPage();
        document.m_tree.InsertItem("child", std::make_unique<CNode>(&document), hRoot, ETreeInsert::Last);
        document.m_props.m_strAuthor = "Ann";
        QString shownAuthor;
        WhenModalOpens([&](QWidget* pDialog) {
            shownAuthor = Find<QLineEdit>(pDialog, "author")->text();
            Click(pDialog, ok ? "ok" : "cancel");
        });
        QCOMPARE(document.DoFileNew(), ok);
        QCOMPARE(shownAuthor, QString("Ann")); // the previous project's values are proposed
        QCOMPARE(int(document.m_tree.GetCount()), items);
    }
};

QTEST_MAIN(CPropertyDialogsTest)
#include "PropertyDialogsTest.moc"
