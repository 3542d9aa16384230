#include "DialogTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include "dialogs/IGenerationDisplay.h"
#include "dialogs/RecordDialogs.h"
#include "platform/CDialogRecord.h"

CWorkspace::CWorkspace()
    : m_strPrevious(QDir::currentPath())
{
    QDir::setCurrent(m_dir.path());
}

CWorkspace::~CWorkspace()
{
    QDir::setCurrent(m_strPrevious);
}

void CWorkspace::AddFile(const QString& name, const QByteArray& contents)
{
    const QString path = m_dir.filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(contents);
}

void CWorkspace::AddFolder(const QString& name)
{
    QDir().mkpath(m_dir.filePath(name));
}

namespace {

QList<QPointer<QTimer>> g_watchers;

} // namespace

void CancelModalWatchers()
{
    for (const QPointer<QTimer>& pTimer : g_watchers)
        delete pTimer.data();
    g_watchers.clear();
}

void WhenModalOpens(std::function<void(QWidget*)> action, QWidget* except)
{
    auto* pTimer = new QTimer;
    g_watchers.append(pTimer);
    pTimer->setInterval(5);
    QObject::connect(pTimer, &QTimer::timeout, [pTimer, action = std::move(action), except] {
        QWidget* pModal = QApplication::activeModalWidget();
        if (pModal == nullptr || pModal == except || !pModal->isVisible())
            return;
        pTimer->stop();
        pTimer->deleteLater();
        action(pModal);
    });
    pTimer->start();
}

QString MessageBoxText(QWidget* pWindow)
{
    auto* pBox = qobject_cast<QMessageBox*>(pWindow);
    return pBox != nullptr ? pBox->text() : QString();
}

CDialogTestUserInterface::CDialogTestUserInterface()
{
    RegisterRecordDialogs(m_registry);
}

int CDialogTestUserInterface::MessageBox(
    const CString& text, const CString& caption, EMessageIcon, EMessageButtons)
{
    m_messages.push_back(caption + ": " + text);
    return IDOK;
}

int CDialogTestUserInterface::DoModal(CDialogRecord& record)
{
    const CDialogRegistry::Runner* pRunner = m_registry.Find(record.GetDialogId());
    return pRunner != nullptr ? (*pRunner)(record, nullptr) : IDCANCEL;
}

void CDialogTestUserInterface::SetProgressRange(int lower, int upper)
{
    if (IGenerationDisplay* pDisplay = IGenerationDisplay::Active())
        pDisplay->SetProgressRange(lower, upper);
    else
        ++m_nUndisplayedCalls;
}

void CDialogTestUserInterface::SetProgressPos(int pos)
{
    if (IGenerationDisplay* pDisplay = IGenerationDisplay::Active())
        pDisplay->SetProgressPos(pos);
    else
        ++m_nUndisplayedCalls;
}

void CDialogTestUserInterface::StepProgress()
{
    if (IGenerationDisplay* pDisplay = IGenerationDisplay::Active())
        pDisplay->StepProgress();
    else
        ++m_nUndisplayedCalls;
}

void CDialogTestUserInterface::SetStatusText(EStatusLine line, const CString& text)
{
    if (IGenerationDisplay* pDisplay = IGenerationDisplay::Active())
        pDisplay->SetStatusText(line, text);
    else
        ++m_nUndisplayedCalls;
}

void SetText(QWidget* pDialog, const char* name, const QString& text)
{
    auto* pEdit = Find<QLineEdit>(pDialog, name);
    pEdit->selectAll();
    QTest::keyClick(pEdit, Qt::Key_Delete);
    QTest::keyClicks(pEdit, text);
}

void Click(QWidget* pDialog, const char* name)
{
    auto* pButton = Find<QAbstractButton>(pDialog, name);
    // A check box answers on its box and caption only, not across its width.
    const QPoint at = qobject_cast<QCheckBox*>(pButton) != nullptr ? QPoint(6, pButton->height() / 2)
                                                                   : pButton->rect().center();
    QTest::mouseClick(pButton, Qt::LeftButton, {}, at);
}
