#include "app/CPreviewPane.h"
#include "app/CPlatformMapping.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QSettings>
#include <QSplitter>
#include <QStringList>
#include <QVBoxLayout>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <algorithm>
#include <unistd.h>

#include "app/CPreviewPage.h"
#include "app/CPreviewSchemeHandler.h"
#include "app/QtText.h"
#include "editors/CEditorView.h"
#include "generator/CSiteNames.h"
#include "generator/CSiteRenderer.h"
#include "model/CPagewellDoc.h"
#include "platform/CFileLocator.h"

namespace {

constexpr const char* kRendererAccessibility = "--force-renderer-accessibility";

// text as the script ["..."], quoted so that no text can break the script.
QString JsonArrayOf(const QString& text)
{
    return QString::fromUtf8(QJsonDocument(QJsonArray { text }).toJson(QJsonDocument::Compact));
}

} // namespace

CPreviewPane::CPreviewPane(CPagewellDoc& doc, QWidget* pParent)
    : QWidget(pParent)
    , m_doc(doc)
    , m_strShareDir(CFileLocator::DefaultShareDir())
{
    setObjectName(QStringLiteral("preview"));
    setAccessibleName(QStringLiteral("Preview"));
    m_pMessages = new QLabel(this);
    m_pMessages->setObjectName(QStringLiteral("previewMessages"));
    m_pMessages->setAccessibleName(QStringLiteral("Preview messages"));
    m_pMessages->setWordWrap(true);
    m_pMessages->setTextFormat(Qt::PlainText);
    m_pMessages->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pMessages->setStyleSheet(QStringLiteral("QLabel { background: #fff3c4; color: black; padding: 3px; }"));
    m_pMessages->hide();

    // Off the record: the preview keeps nothing on disk.
    m_pProfile = new QWebEngineProfile(this);
    m_pHandler = new CPreviewSchemeHandler(this);
    m_pProfile->installUrlSchemeHandler(CPreviewSchemeHandler::kScheme, m_pHandler);
    m_pPage = new CPreviewPage(m_pProfile, this);
    m_pView = new QWebEngineView(this);
    m_pView->setObjectName(QStringLiteral("previewView"));
    m_pView->setAccessibleName(QStringLiteral("Page preview"));
    m_pView->setPage(m_pPage);
    m_pView->setContextMenuPolicy(Qt::NoContextMenu);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    pLayout->addWidget(m_pMessages);
    pLayout->addWidget(m_pView, 1);

    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CPreviewPane::RenderNow);
    connect(m_pPage, &QWebEnginePage::loadFinished, this, &CPreviewPane::OnLoadFinished);
    connect(m_pPage, &CPreviewPage::pageLinkActivated, this, &CPreviewPane::OnPageLink);
}

CPreviewPane::~CPreviewPane()
{
    // The page must go before its profile; script answers still pending
    // reach a pane without a page, which ignores them.
    m_pView->setPage(nullptr);
    CPreviewPage* pPage = m_pPage;
    m_pPage = nullptr;
    delete pPage;
}

void CPreviewPane::PrepareEngine()
{
    CPreviewSchemeHandler::RegisterScheme();
    // The engine's sandbox refuses to run as root; under any other user it
    // stays on.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Without it the engine builds no accessibility tree for the page and a
    // screen reader finds the preview empty. Whether a reader is running is
    // known only after the engine has started, and the tree of a preview
    // page costs nothing measurable (docs/performance.md), so it is always on.
    const QByteArray accessibility(kRendererAccessibility);
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").trimmed();
    if (!flags.split(' ').contains(accessibility))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.isEmpty() ? accessibility : flags + ' ' + accessibility);
}

void CPreviewPane::FollowEditors(const std::vector<CEditorView*>& editors)
{
    m_editors = editors;
    for (CEditorView* pEditor : editors)
        connect(pEditor, &QPlainTextEdit::textChanged, this, [this] { RequestRender(kTypingDelayMs); });
}

void CPreviewPane::OnUpdate(CView* /*pSender*/, long /*lHint*/)
{
    RequestRender(0);
}

void CPreviewPane::RequestRender(int nDelayMs)
{
    // Not restarted by later keys: while the user types on, the preview
    // still follows every kTypingDelayMs.
    if (m_timer.isActive() && m_timer.remainingTime() <= nDelayMs)
        return;
    m_timer.start(nDelayMs);
}

void CPreviewPane::showEvent(QShowEvent* pEvent)
{
    QWidget::showEvent(pEvent);
    if (m_nRestoreWidth > 0)
        QTimer::singleShot(0, this, &CPreviewPane::ApplyWidth);
    if (m_bStale)
        RequestRender(0);
}

void CPreviewPane::RenderNow()
{
    m_timer.stop();
    if (!isVisible()) {
        m_bStale = true;
        return;
    }
    m_bStale = false;
    for (CEditorView* pEditor : m_editors)
        pEditor->Store();
    const HTREEITEM hCurrent = m_doc.GetCurrentItem();
    const HTREEITEM hPage = hCurrent != nullptr ? CSiteNames::GetPageItem(hCurrent) : nullptr;
    if (hPage == nullptr) {
        ShowMessages({});
        m_pHandler->SetSite(nullptr);
        m_strPageName.clear();
        m_bLoaded = false;
        m_pPage->setHtml(QString());
        return;
    }
    const CFileLocator locator(m_doc.GetFileSystem(), m_strShareDir);
    const CSiteRenderer renderer(
        m_doc.m_tree, m_doc.m_props, m_doc.m_dlgGenerate, m_doc.GetFileSystem(), locator);
    auto pSite = std::make_shared<CRenderedSite>(renderer.RenderPage(hPage));
    ShowMessages(pSite->messages);
    m_strPageName = ToQString(renderer.GetPageFileName(hPage));
    const CSiteNames names(m_doc.m_tree.GetRootItem(), m_doc.m_dlgGenerate.m_bLowercase != 0);
    m_strScrollTag = hCurrent != hPage ? ToQString(names.GetTag(hCurrent)) : QString();
    const CString& bytes = pSite->pages.begin()->second;
    const QString html = pSite->IsUtf8()
        ? QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()))
        : ToQString(bytes);
    m_pHandler->SetSite(std::move(pSite));
    ++m_nSerial;
    // The same page again (the user typing) is written into the document in
    // place: no navigation, no request, the images already there.
    if (m_bLoaded && m_pPage->url().fileName() == m_strPageName && !m_pPage->isLoading()) {
        m_pPage->runJavaScript(
            QStringLiteral("document.open();document.write(%1[0]);document.close();").arg(JsonArrayOf(html)),
            [this](const QVariant&) { OnLoadFinished(true); });
        return;
    }
    m_bLoaded = false;
    m_pPage->SetCurrentName(m_strPageName);
    m_pPage->setUrl(CPreviewSchemeHandler::PageUrl(m_strPageName, m_nSerial));
}

void CPreviewPane::ShowMessages(const std::vector<CString>& messages)
{
    QStringList lines;
    for (const CString& message : messages)
        lines << ToQString(message);
    m_pMessages->setText(lines.join(QLatin1Char('\n')));
    m_pMessages->setVisible(!lines.isEmpty());
}

QString CPreviewPane::MessagesText() const
{
    return m_pMessages->isHidden() ? QString() : m_pMessages->text();
}

void CPreviewPane::OnLoadFinished(bool bOk)
{
    if (m_pPage == nullptr)
        return;
    // The engine draws into a widget of its own, made with the first page,
    // that takes the focus for the view: it is what a screen reader meets.
    if (QWidget* pProxy = m_pView->focusProxy(); pProxy != nullptr && pProxy->accessibleName().isEmpty())
        pProxy->setAccessibleName(m_pView->accessibleName());
    m_bLoaded = bOk;
    if (!bOk || m_strScrollTag.isEmpty()) {
        emit pageShown(bOk);
        return;
    }
    // The tag goes in as a JSON string, so that no tag can break the script.
    const QString tag = JsonArrayOf(m_strScrollTag);
    const QString script
        = QStringLiteral("(function(){var t=%1[0];"
                         "var a=document.getElementsByName(t)[0]||document.getElementById(t);"
                         "if(a)a.scrollIntoView();return !!a;})()")
              .arg(tag);
    m_pPage->runJavaScript(script, [this](const QVariant&) {
        if (m_pPage != nullptr)
            emit pageShown(true);
    });
}

void CPreviewPane::OnPageLink(const QString& name, const QString& fragment)
{
    const CFileLocator locator(m_doc.GetFileSystem(), m_strShareDir);
    const CSiteRenderer renderer(
        m_doc.m_tree, m_doc.m_props, m_doc.m_dlgGenerate, m_doc.GetFileSystem(), locator);
    const HTREEITEM hTarget = renderer.FindLinkTarget(FromQString(name), FromQString(fragment));
    if (hTarget != nullptr && m_selectItem)
        m_selectItem(hTarget);
}

QString CPreviewPane::SettingsFile()
{
    return PlatformMapping::WindowStateFileName();
}

void CPreviewPane::RestoreState()
{
    const QSettings settings(SettingsFile(), QSettings::IniFormat);
    // The width is given back once the window is laid out (ApplyWidth).
    m_nRestoreWidth = settings.value(QStringLiteral("Preview/Width"), 0).toInt();
    setVisible(settings.value(QStringLiteral("Preview/Shown"), false).toBool());
}

void CPreviewPane::ApplyWidth()
{
    auto* pSplitter = qobject_cast<QSplitter*>(parentWidget());
    const int nAt = pSplitter != nullptr ? pSplitter->indexOf(this) : -1;
    if (nAt < 1 || m_nRestoreWidth <= 0)
        return;
    // The room comes from the pane before it (the editors), which keeps a
    // third of it at least.
    QList<int> sizes = pSplitter->sizes();
    const int nShared = sizes[nAt - 1] + sizes[nAt];
    sizes[nAt] = std::min(m_nRestoreWidth, nShared * 2 / 3);
    sizes[nAt - 1] = nShared - sizes[nAt];
    pSplitter->setSizes(sizes);
    m_nRestoreWidth = 0;
}

void CPreviewPane::SaveState() const
{
    QSettings settings(SettingsFile(), QSettings::IniFormat);
    settings.setValue(QStringLiteral("Preview/Shown"), !isHidden());
    if (!isHidden() && width() > 0)
        settings.setValue(QStringLiteral("Preview/Width"), width());
}
