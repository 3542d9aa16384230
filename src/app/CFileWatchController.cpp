#include "app/CFileWatchController.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>

#include "app/QtText.h"
#include "model/CPagewellDoc.h"

CFileWatchController::CFileWatchController(CPagewellDoc& doc, QStatusBar& status, QObject* pParent)
    : QObject(pParent)
    , m_doc(doc)
    , m_status(status)
{
    m_doc.AddListener(this);
    m_ask = [](const QString& file) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Pagewell"),
            QStringLiteral("%1 was changed by another program.").arg(file), QMessageBox::NoButton,
            QApplication::activeWindow());
        box.setInformativeText(QStringLiteral("This window holds changes that are not saved. Reload the file "
                                              "and lose them, or keep your version?"));
        QPushButton* pReload
            = box.addButton(QStringLiteral("&Reload and Lose Mine"), QMessageBox::DestructiveRole);
        QPushButton* pKeep = box.addButton(QStringLiteral("&Keep Mine"), QMessageBox::RejectRole);
        box.setDefaultButton(pKeep);
        box.setEscapeButton(pKeep);
        box.exec();
        return box.clickedButton() == pReload ? EOutsideChange::ReloadTheirs : EOutsideChange::KeepMine;
    };
    connect(&m_timer, &QTimer::timeout, this, &CFileWatchController::Check);
    m_timer.start(kPollMs);
}

CFileWatchController::~CFileWatchController()
{
    m_doc.RemoveListener(this);
}

void CFileWatchController::Note(const QString& text)
{
    m_status.showMessage(text);
}

void CFileWatchController::Check()
{
    // Not while a dialog holds the program (a save may be under way), nor
    // from within the question below.
    if (m_bChecking || QApplication::activeModalWidget() != nullptr || !m_doc.HasFileChangedOnDisk())
        return;
    const CFileStamp now = CFileStamp::Of(m_doc.GetPathName());
    if (m_answered && *m_answered == now)
        return;
    m_bChecking = true;
    const QString file = PathToQString(m_doc.GetTitle());
    if (!now.bExists) {
        Note(QStringLiteral("%1 was deleted or renamed by another program; Save writes it again.").arg(file));
        m_answered = now;
    } else if (!m_doc.IsModified()) {
        if (m_reload && m_reload())
            Note(QStringLiteral("%1 was changed by another program and has been reloaded.").arg(file));
        else
            m_answered = now;
    } else if (m_ask(file) == EOutsideChange::ReloadTheirs) {
        m_doc.SetModifiedFlag(false);
        if (m_reload && m_reload())
            Note(QStringLiteral("%1 was reloaded; your changes were dropped.").arg(file));
    } else {
        // Save still asks before it replaces their file.
        m_answered = now;
        Note(QStringLiteral("Kept your version of %1; saving asks before replacing the changed file.")
                 .arg(file));
    }
    m_bChecking = false;
}

void CFileWatchController::OnDocumentSaved(bool bRecreated)
{
    m_answered.reset();
    if (bRecreated)
        Note(QStringLiteral("%1 had gone from its folder and was written again.")
                 .arg(PathToQString(m_doc.GetTitle())));
}

void CFileWatchController::OnDocumentLoaded()
{
    m_answered.reset();
}
