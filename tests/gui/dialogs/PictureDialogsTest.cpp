// Choosing a picture anywhere on the disk from the insert-image dialog and
// the property dialogs: the file dialog with its preview, the copy into the
// workspace and the question when the name is taken.

#include <functional>

#include <QAccessible>
#include <QComboBox>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include "DialogTestSupport.h"
#include "dialogs/CDocInfoDialog.h"
#include "dialogs/CDocPropertiesDialog.h"
#include "dialogs/CPictureFileDialog.h"
#include "editors/CInsertDialogs.h"
#include "model/CDocInfo.h"
#include "model/CDocProperties.h"
#include "model/NodeTypes.h"

namespace {

QList<QPointer<QTimer>> g_timers;

// Runs action once on the next modal window of type T, from inside the event
// loop that shows it. A window the action leaves open (a failed check) is
// closed, so that the test goes on.
template <typename T> void WhenShown(std::function<void(T*)> action)
{
    auto* pTimer = new QTimer;
    g_timers.append(pTimer);
    pTimer->setInterval(5);
    QObject::connect(pTimer, &QTimer::timeout, [pTimer, action = std::move(action)] {
        auto* pWindow = qobject_cast<T*>(QApplication::activeModalWidget());
        if (pWindow == nullptr || !pWindow->isVisible())
            return;
        pTimer->stop();
        pTimer->deleteLater();
        action(pWindow);
        if (pWindow->isVisible())
            pWindow->reject();
    });
    pTimer->start();
}

QString AccessibleName(QObject* pObject)
{
    QAccessibleInterface* pInterface = QAccessible::queryAccessibleInterface(pObject);
    return pInterface != nullptr ? pInterface->text(QAccessible::Name) : QString();
}

// Goes to the picture's folder and clicks the picture, as a user does; then
// opens it once its preview shows. previewName: the preview's accessible name.
void ChoosePicture(const QString& path, QString* pPreviewName = nullptr)
{
    WhenShown<CPictureFileDialog>([=](CPictureFileDialog* pDialog) {
        const QFileInfo picture(path);
        // As when the user picks the folder in "Look in".
        pDialog->setDirectory(picture.absolutePath());
        auto* pList = Find<QListView>(pDialog, "listView");
        QModelIndex index;
        const auto find = [&] {
            const QModelIndexList found
                = pList->model()->match(pList->model()->index(0, 0, pList->rootIndex()), Qt::DisplayRole,
                    picture.fileName(), 1, Qt::MatchExactly);
            index = found.value(0);
            return index.isValid();
        };
        QVERIFY2(QTest::qWaitFor(find, 5000), qPrintable(pDialog->directory().path()));
        pList->scrollTo(index);
        QTest::mouseClick(pList->viewport(), Qt::LeftButton, {}, pList->visualRect(index).center());
        QLabel* pPreview = pDialog->Preview();
        QVERIFY(QTest::qWaitFor([&] { return !pPreview->pixmap().isNull(); }, 5000));
        if (pPreviewName != nullptr)
            *pPreviewName = AccessibleName(pPreview) + ": " + pPreview->accessibleDescription();
        QTest::keyClick(pList, Qt::Key_Return);
    });
}

void AnswerClash(const QByteArray& answer, QString* pText)
{
    WhenShown<QMessageBox>([=](QMessageBox* pBox) {
        *pText = pBox->text();
        Click(pBox, answer.constData());
    });
}

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class CPictureDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_pWorkspace = std::make_unique<CWorkspace>();
        for (const char* folder : { "images", "background", "lineimages", "bullets", "templates" })
            m_pWorkspace->AddFolder(QString::fromLatin1(folder));
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        m_strPhoto = m_outside.filePath("Holiday Photo.JPG");
        QVERIFY(picture.save(m_strPhoto, "JPG"));
    }
    void cleanup()
    {
        for (const QPointer<QTimer>& pTimer : g_timers)
            delete pTimer.data();
        g_timers.clear();
        m_pWorkspace.reset();
    }

    void InsertImageCopiesAPictureFromAnywhere()
    {
        CInsertImageDlg dialog;
        QString preview;
        WhenShown<CInsertImageDlg>([&](CInsertImageDlg* pDialog) {
            QCOMPARE(AccessibleName(Find<QWidget>(pDialog, "browse")), QString("Browse for a picture"));
            ChoosePicture(m_strPhoto, &preview);
            Click(pDialog, "browse");
            QCOMPARE(pDialog->FileNameEdit()->text(), QString("holiday-photo.jpg"));
            pDialog->accept();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(dialog.m_strFileName, QString("holiday-photo.jpg"));
        QCOMPARE(Read(m_pWorkspace->Path() + "/images/holiday-photo.jpg"), Read(m_strPhoto));
        QCOMPARE(preview, QString("Preview: 64 by 48 pixels"));
    }

    void ATypedNameShowsItsPreviewToo()
    {
        CPictureFileDialog dialog(QFileInfo(m_strPhoto).absolutePath());
        QTest::keyClicks(Find<QLineEdit>(&dialog, "fileNameEdit"), "Holiday Photo.JPG");
        QVERIFY(!dialog.Preview()->pixmap().isNull());
    }

    void ObjectIconComesIntoImages()
    {
        CDocInfo record;
        CDocInfoDialog dialog(record, NODE_LINK, nullptr);
        WhenShown<CDocInfoDialog>([&](CDocInfoDialog* pDialog) {
            // A link has no line image: its Browse button is off with the field.
            QVERIFY(!Find<QWidget>(pDialog, "lineImageBrowse")->isEnabled());
            QCOMPARE(AccessibleName(Find<QWidget>(pDialog, "iconBrowse")), QString("Browse for Icon"));
            ChoosePicture(m_strPhoto);
            Click(pDialog, "iconBrowse");
            Click(pDialog, "ok");
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(record.m_strIcon, CString("holiday-photo.jpg"));
        QCOMPARE(Read(m_pWorkspace->Path() + "/images/holiday-photo.jpg"), Read(m_strPhoto));
    }

    void ATakenNameAsksTheUser_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("replaced");
        QTest::addColumn<bool>("kept");
        QTest::newRow("use the one there") << "useExisting"
                                           << "holiday-photo.jpg" << false << false;
        QTest::newRow("keep both") << "keepBoth"
                                   << "holiday-photo-2.jpg" << false << true;
        QTest::newRow("replace") << "replace"
                                 << "holiday-photo.jpg" << true << false;
    }

    void ATakenNameAsksTheUser()
    {
        QFETCH(QString, answer);
        QFETCH(QString, field);
        QFETCH(bool, replaced);
        QFETCH(bool, kept);
        m_pWorkspace->AddFile("background/holiday-photo.jpg", "another picture");
        CDocProperties record;
        CDocPropertiesDialog dialog(record);
        QString question;
        WhenShown<CDocPropertiesDialog>([&](CDocPropertiesDialog* pDialog) {
            ChoosePicture(m_strPhoto);
            AnswerClash(answer.toLatin1(), &question);
            Click(pDialog, "bgBitmapBrowse");
            Click(pDialog, "ok");
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QVERIFY2(question.contains("holiday-photo.jpg"), qPrintable(question));
        QCOMPARE(QString::fromStdString(record.m_strBgBitmap), field);
        const QString folder = m_pWorkspace->Path() + "/background/";
        QCOMPARE(
            Read(folder + "holiday-photo.jpg"), replaced ? Read(m_strPhoto) : QByteArray("another picture"));
        QCOMPARE(Read(folder + "holiday-photo-2.jpg"), kept ? Read(m_strPhoto) : QByteArray("<missing>"));
    }

private:
    QTemporaryDir m_outside;
    std::unique_ptr<CWorkspace> m_pWorkspace;
    QString m_strPhoto;
};

QTEST_MAIN(CPictureDialogsTest)
#include "PictureDialogsTest.moc"
