// How the preview follows typing in the window, on a project run in its
// workspace:
//
//   pagewell-typing-bench PROJECT [WORDS]
//
// opens the project in the real window (offscreen unless a platform is set),
// shows the preview, selects the first section of the last page and types
// WORDS words (default 20) of 6 letters at about 12 keys a second, with
// spelling on (the site's language, else English). It reports
//   - how long each key press took to be handled (the preview renders on a
//     timer, never inside a key press),
//   - the longest time the event loop did not run (what a rendering, which
//     runs on the user interface's thread, costs the typist at worst), and
//   - for each word, the time from its last key until the page in the pane
//     shows it (asked from the engine every 5 ms).
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/CMainFrame.h"
#include "app/CPagewellApp.h"
#include "app/CPreviewPane.h"
#include "app/CRecentFileList.h"
#include "app/CommandIds.h"
#include "editors/CEditContents.h"
#include "editors/CEditorSpelling.h"
#include "model/CNode.h"
#include "model/CPagewellDoc.h"
#include "platform/CSilentUserInterface.h"
#include "tree/CPagewellView.h"

namespace {

double Percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    return values[std::min(
        values.size() - 1, static_cast<size_t>(fraction * static_cast<double>(values.size())))];
}

void Report(const char* pszWhat, const std::vector<double>& times)
{
    std::printf("%-40s median %7.1f ms   p95 %7.1f ms   max %7.1f ms   (%zu)\n", pszWhat,
        Percentile(times, 0.5), Percentile(times, 0.95), *std::max_element(times.begin(), times.end()),
        times.size());
}

bool PageShows(QWebEnginePage* pPage, const QString& word)
{
    bool bDone = false;
    bool bFound = false;
    pPage->toPlainText([&](const QString& text) {
        bFound = text.contains(word);
        bDone = true;
    });
    QTest::qWaitFor([&] { return bDone; }, 5000);
    return bFound;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    CPreviewPane::PrepareEngine();
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: pagewell-typing-bench PROJECT [WORDS]\n");
        return 2;
    }
    const int nWords = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    CSilentUserInterface ui;
    CRecentFileList recent("/dev/null", kRecentFileCount);
    CPagewellApp app(ui, recent);
    if (!app.InitInstance(QString::fromLocal8Bit(argv[1])))
        return 1;
    CMainFrame& frame = *app.GetMainFrame();
    frame.resize(1200, 800);
    frame.show();
    CPreviewPane& pane = *frame.GetPreview();
    if (pane.isHidden())
        frame.RunCommand(ID_VIEW_PREVIEW);

    CPagewellDoc& doc = app.GetDocument();
    HTREEITEM hLastPage = nullptr;
    for (HTREEITEM h = doc.m_tree.GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h)) {
        if (h->GetNode()->m_nType == NODE_PAGE)
            hLastPage = h;
    }
    HTREEITEM hTarget = hLastPage->GetFirstChild() != nullptr ? hLastPage->GetFirstChild() : hLastPage;
    frame.GetTreeView()->SelectItem(hTarget);
    QWebEnginePage* pPage = pane.GetView()->page();
    if (!QTest::qWaitFor([&] { return pane.GetRenderCount() > 0 && !pPage->isLoading(); }, 30000))
        return 1;
    CEditContents& body = *frame.GetBodyEditor();
    body.setFocus();
    body.moveCursor(QTextCursor::End);

    // Every millisecond the event loop runs this; a longer gap is a stall.
    QElapsedTimer clock;
    clock.start();
    qint64 nLastTick = clock.elapsed();
    double maxGap = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        maxGap = std::max(maxGap, static_cast<double>(now - nLastTick));
        nLastTick = now;
    });
    ticker.start(1);

    // From a rendering (seen by the ticker) to the engine's load of it.
    std::vector<double> loadTimes;
    int nSeenRender = pane.GetRenderCount();
    qint64 nRenderSeenAt = 0;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (pane.GetRenderCount() != nSeenRender) {
            nSeenRender = pane.GetRenderCount();
            nRenderSeenAt = clock.elapsed();
        }
    });
    QObject::connect(&pane, &CPreviewPane::pageShown, [&](bool bOk) {
        if (bOk && nRenderSeenAt > 0)
            loadTimes.push_back(static_cast<double>(clock.elapsed() - nRenderSeenAt));
    });

    std::vector<double> keyTimes;
    std::vector<double> shownTimes;
    for (int w = 0; w < nWords; ++w) {
        // Letters only, so that spelling looks each word up (and finds it
        // unknown, which underlines it).
        QString letters;
        for (int n = 1000 + w; n > 0; n /= 26)
            letters += QChar(static_cast<char16_t>(u'a' + n % 26));
        const QString word = QStringLiteral(" q%1z").arg(letters);
        QElapsedTimer sinceKey;
        for (const QChar c : word) {
            sinceKey.start();
            QTest::keyClick(&body, c.toLatin1());
            keyTimes.push_back(static_cast<double>(sinceKey.nsecsElapsed()) / 1e6);
            if (c != word.back())
                QTest::qWait(80);
        }
        while (!PageShows(pPage, word.trimmed()) && sinceKey.elapsed() < 10000)
            QTest::qWait(5);
        shownTimes.push_back(static_cast<double>(sinceKey.nsecsElapsed()) / 1e6);
    }
    std::printf("%zu objects; typing into %s; spelling: %s\n", doc.m_tree.GetCount(),
        qPrintable(pane.GetPageName()),
        CEditorSpelling::Instance().IsActive() ? qPrintable(CEditorSpelling::Instance().GetDictionary())
                                               : "off");
    Report("key press handled in", keyTimes);
    Report("word shown in the pane after last key", shownTimes);
    if (!loadTimes.empty())
        Report("rendering loaded by the engine in", loadTimes);
    std::printf("%-40s %7.1f ms\n", "longest event loop stall", maxGap);
    std::printf("%-40s %d\n", "renderings", pane.GetRenderCount());
    frame.m_canClose = nullptr;
    return 0;
}
