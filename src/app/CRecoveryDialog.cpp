#include "app/CRecoveryDialog.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

#include "app/QtText.h"

QString CRecoveryDialog::Text(const CRecoveryStore::CEntry& entry)
{
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(entry.tWrittenNs / 1000000);
    const QString at = QLocale().toString(when, QLocale::LongFormat);
    if (entry.strProject.empty())
        return QStringLiteral("Pagewell found unsaved work on an untitled project, from %1.").arg(at);
    return QStringLiteral("Pagewell found unsaved work on %1, from %2, newer than the saved file.")
        .arg(PathToQString(entry.strProject), at);
}

ERecoveryChoice CRecoveryDialog::Ask(const CRecoveryStore::CEntry& entry)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Pagewell"), Text(entry), QMessageBox::NoButton,
        QApplication::activeWindow());
    box.setInformativeText(entry.strProject.empty()
            ? QStringLiteral("Recover it, keep it for later, or discard it?")
            : QStringLiteral("Recover it, open the saved file (the unsaved work is kept until you save), or "
                             "discard it?"));
    QPushButton* pRecover = box.addButton(QStringLiteral("&Recover"), QMessageBox::AcceptRole);
    QPushButton* pSaved = box.addButton(
        entry.strProject.empty() ? QStringLiteral("&Keep for Later") : QStringLiteral("&Open the Saved File"),
        QMessageBox::RejectRole);
    QPushButton* pDiscard = box.addButton(QStringLiteral("&Discard"), QMessageBox::DestructiveRole);
    box.setDefaultButton(pRecover);
    box.setEscapeButton(pSaved);
    box.exec();
    if (box.clickedButton() == pRecover)
        return ERecoveryChoice::Recover;
    if (box.clickedButton() == pDiscard)
        return ERecoveryChoice::Discard;
    return ERecoveryChoice::OpenSaved;
}
