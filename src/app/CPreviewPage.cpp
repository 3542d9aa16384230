#include "app/CPreviewPage.h"

#include <QDesktopServices>

#include "app/CPreviewSchemeHandler.h"

CPreviewPage::ENavigation CPreviewPage::Classify(
    const QUrl& url, NavigationType type, const QString& currentName)
{
    const bool bClicked = type == NavigationTypeLinkClicked;
    if (url.scheme() == QLatin1String(CPreviewSchemeHandler::kScheme)) {
        if (!bClicked)
            return ENavigation::Allow;
        // An anchor of the page shown only scrolls.
        return url.fileName() == currentName ? ENavigation::Allow : ENavigation::SelectPage;
    }
    // Only a click leaves the preview, and only for what a browser or a mail
    // program opens: no redirect, script or form takes the pane elsewhere.
    static const char* const kOutside[] = { "http", "https", "mailto", "ftp" };
    for (const char* pszScheme : kOutside) {
        if (bClicked && url.scheme() == QLatin1String(pszScheme))
            return ENavigation::OpenOutside;
    }
    return ENavigation::Refuse;
}

bool CPreviewPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool /*bMainFrame*/)
{
    switch (Classify(url, type, m_strCurrentName)) {
    case ENavigation::Allow:
        return true;
    case ENavigation::SelectPage:
        emit pageLinkActivated(url.fileName(), url.fragment(QUrl::FullyDecoded));
        return false;
    case ENavigation::OpenOutside:
        QDesktopServices::openUrl(url);
        return false;
    case ENavigation::Refuse:
        return false;
    }
    return false;
}
