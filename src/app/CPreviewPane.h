#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "model/CTreeItem.h"
#include "platform/CView.h"

struct CRenderedSite;
class CEditorView;
class CPagewellDoc;
class CPreviewPage;
class CPreviewSchemeHandler;
class QLabel;
class QWebEngineProfile;
class QWebEngineView;

// The preview: the page of the current object as generation would write it,
// rendered from the unsaved document through the project's templates, with
// what the run would report in a bar above it. Renders shortly after every
// store or reload of the views and while the user types; nothing is written
// and no message box shows.
class CPreviewPane : public QWidget, public CView {
    Q_OBJECT
public:
    // How long typing may go unseen in the preview.
    static constexpr int kTypingDelayMs = 300;

    CPreviewPane(CPagewellDoc& doc, QWidget* pParent);
    ~CPreviewPane() override;

    // Readies the web engine before QApplication exists: the preview's
    // scheme, and no sandbox for root (which the engine cannot sandbox).
    static void PrepareEngine();

    // The editors whose text is stored before each rendering and whose typing
    // renders again.
    void FollowEditors(const std::vector<CEditorView*>& editors);
    // Called with the object a clicked link of the site leads to.
    void SetSelectItem(std::function<void(HTREEITEM)> select) { m_selectItem = std::move(select); }

    // CView: every store and reload of the views renders again.
    void OnUpdate(CView* pSender, long lHint) override;

    // Renders within delayMs unless a rendering is due sooner.
    void RequestRender(int nDelayMs);
    void RenderNow();

    // Shown state and width, kept in the user's settings.
    void RestoreState();
    void SaveState() const;
    static QString SettingsFile();

    QWebEngineView* GetView() const { return m_pView; }
    CPreviewSchemeHandler* GetHandler() const { return m_pHandler; }
    CPreviewPage* GetPage() const { return m_pPage; }
    QString MessagesText() const;
    // The page file shown and how many renderings were made.
    const QString& GetPageName() const { return m_strPageName; }
    int GetRenderCount() const { return m_nSerial; }

signals:
    // A rendering finished loading into the view (and was scrolled).
    void pageShown(bool bOk);

protected:
    void showEvent(QShowEvent* pEvent) override;

private:
    void ApplyWidth();
    void ShowMessages(const std::vector<CString>& messages);
    void OnLoadFinished(bool bOk);
    void OnPageLink(const QString& name, const QString& fragment);

    CPagewellDoc& m_doc;
    std::vector<CEditorView*> m_editors;
    std::function<void(HTREEITEM)> m_selectItem;
    QLabel* m_pMessages = nullptr;
    QWebEngineProfile* m_pProfile = nullptr;
    CPreviewSchemeHandler* m_pHandler = nullptr;
    CPreviewPage* m_pPage = nullptr;
    QWebEngineView* m_pView = nullptr;
    QTimer m_timer;
    std::string m_strShareDir;
    QString m_strPageName;
    QString m_strScrollTag;
    int m_nSerial = 0;
    int m_nRestoreWidth = 0;
    bool m_bStale = true;
    bool m_bLoaded = false; // the view holds a loaded page of the site
};
