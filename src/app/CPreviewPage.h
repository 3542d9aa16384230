#pragma once

#include <QUrl>
#include <QWebEnginePage>

// The preview's web page: follows no link itself. A link to another page of
// the site is handed to the window (which selects that page in the tree), an
// external link opens in the system's browser, anything else stays put.
class CPreviewPage : public QWebEnginePage {
    Q_OBJECT
public:
    enum class ENavigation { Allow, SelectPage, OpenOutside, Refuse };

    using QWebEnginePage::QWebEnginePage;

    // What a navigation to url of that type does while the page file
    // currentName is shown.
    static ENavigation Classify(const QUrl& url, NavigationType type, const QString& currentName);

    void SetCurrentName(const QString& name) { m_strCurrentName = name; }

signals:
    // A link to the page file name (and the anchor fragment) was clicked.
    void pageLinkActivated(const QString& name, const QString& fragment);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool bMainFrame) override;

private:
    QString m_strCurrentName;
};
