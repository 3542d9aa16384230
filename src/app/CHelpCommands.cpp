#include "app/CHelpCommands.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

#include "app/CommandIds.h"

#ifndef PAGEWELL_INSTALL_DOC_DIR
#define PAGEWELL_INSTALL_DOC_DIR ""
#endif
#ifndef PAGEWELL_BUILD_MANUAL
#define PAGEWELL_BUILD_MANUAL ""
#endif

CHelpCommands::CHelpCommands(QWidget* pParent)
    : m_openUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); })
    , m_pParent(pParent)
{ }

QStringList CHelpCommands::ManualCandidates()
{
    QStringList candidates { QCoreApplication::applicationDirPath()
        + QStringLiteral("/../share/doc/pagewell/manual.html") };
    if (const QString installed = QStringLiteral(PAGEWELL_INSTALL_DOC_DIR); !installed.isEmpty())
        candidates << installed + QStringLiteral("/manual.html");
    if (const QString built = QStringLiteral(PAGEWELL_BUILD_MANUAL); !built.isEmpty())
        candidates << built;
    for (QString& candidate : candidates)
        candidate = QDir::cleanPath(candidate);
    return candidates;
}

QString CHelpCommands::FindManual()
{
    for (const QString& candidate : ManualCandidates()) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return {};
}

bool CHelpCommands::OnUpdateCommand(int nId, CCmdUI& /*state*/)
{
    return nId == ID_HELP_USER_GUIDE;
}

void CHelpCommands::OnCommand(int nId)
{
    if (nId != ID_HELP_USER_GUIDE)
        return;
    const QString manual = FindManual();
    if (!manual.isEmpty() && m_openUrl(QUrl::fromLocalFile(manual)))
        return;
    const QString text = manual.isEmpty()
        ? QStringLiteral("The user guide is not installed. It was looked for in:\n%1")
              .arg(ManualCandidates().join(QLatin1Char('\n')))
        : QStringLiteral("No web browser could open the user guide, %1.").arg(manual);
    QMessageBox::warning(m_pParent, QStringLiteral("Pagewell"), text);
}
