#pragma once

#include <QByteArray>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>
#include <memory>

struct CRenderedSite;

// Serves the preview's URLs: the rendered page from memory and the images it
// uses from the workspace or the installed defaults. A URL names a file of
// the rendered site by its plain name; anything else (a folder, a parent, an
// absolute path, another host) fails as not found.
class CPreviewSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    static constexpr const char* kScheme = "pagewell-preview";
    static constexpr const char* kHost = "site";

    // Declares the scheme to the web engine; must run before QApplication.
    static void RegisterScheme();
    // The URL of a page file; serial makes each rendering a new load.
    static QUrl PageUrl(const QString& fileName, int nSerial);

    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    void SetSite(std::shared_ptr<const CRenderedSite> pSite) { m_pSite = std::move(pSite); }

    struct CReply {
        bool bFound = false;
        QByteArray data;
        QByteArray mimeType;
    };
    // What a request for url gets.
    CReply Resolve(const QUrl& url) const;

    void requestStarted(QWebEngineUrlRequestJob* pJob) override;

private:
    std::shared_ptr<const CRenderedSite> m_pSite;
};
