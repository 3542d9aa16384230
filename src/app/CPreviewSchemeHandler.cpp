#include "app/CPreviewSchemeHandler.h"

#include <QBuffer>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

#include "app/QtText.h"
#include "generator/CSiteRenderer.h"
#include "platform/CFileSystem.h"

void CPreviewSchemeHandler::RegisterScheme()
{
    QWebEngineUrlScheme scheme(kScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    // Local: web pages elsewhere cannot load it; secure: no mixed-content
    // warnings for its images.
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme);
    QWebEngineUrlScheme::registerScheme(scheme);
}

QUrl CPreviewSchemeHandler::PageUrl(const QString& fileName, int nSerial)
{
    QUrl url;
    url.setScheme(QString::fromLatin1(kScheme));
    url.setHost(QString::fromLatin1(kHost));
    url.setPath(QLatin1Char('/') + fileName);
    url.setQuery(QStringLiteral("r=%1").arg(nSerial));
    return url;
}

CPreviewSchemeHandler::CReply CPreviewSchemeHandler::Resolve(const QUrl& url) const
{
    CReply reply;
    if (m_pSite == nullptr || url.scheme() != QLatin1String(kScheme) || url.host() != QLatin1String(kHost))
        return reply;
    const QString path = url.path(QUrl::FullyDecoded);
    if (!path.startsWith(QLatin1Char('/')))
        return reply;
    const QString name = path.mid(1);
    CString bytes;
    const ESiteFile kind = CSiteRenderer::ReadFile(*m_pSite, FromQString(name), bytes, CFileSystem::Real());
    if (kind == ESiteFile::None)
        return reply;
    reply.bFound = true;
    reply.data = QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
    reply.mimeType = QByteArray::fromStdString(
        kind == ESiteFile::Page ? m_pSite->strPageType : CSiteRenderer::ContentType(FromQString(name)));
    return reply;
}

void CPreviewSchemeHandler::requestStarted(QWebEngineUrlRequestJob* pJob)
{
    CReply reply = Resolve(pJob->requestUrl());
    if (!reply.bFound) {
        pJob->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    auto* pBuffer = new QBuffer(pJob);
    pBuffer->setData(reply.data);
    pBuffer->open(QIODevice::ReadOnly);
    pJob->reply(reply.mimeType, pBuffer);
}
