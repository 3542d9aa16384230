#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/CDocument.h"
#include "platform/CRecoveryStore.h"

class CPagewellDoc;
class CWorkerThread;

// What the user does with unsaved work found from an earlier run.
enum class ERecoveryChoice { Recover, OpenSaved, Discard };

// Keeps a recovery of the unsaved work of the open project: once the user
// has paused for kPauseMs after a change, the document is made into the
// bytes Save would write (on this thread, quickly) and written to the
// recovery store on a thread of its own. Save, and leaving or closing a
// project whose changes the user chose not to keep, remove it. At start and
// on opening a project, it offers what an earlier run left.
class CRecoveryController : public QObject, private IDocumentListener {
    Q_OBJECT
public:
    CRecoveryController(CPagewellDoc& doc, std::string folder, QObject* pParent = nullptr);
    ~CRecoveryController() override;

    static constexpr int kPauseMs = 2000;
    static constexpr int kTickMs = 250;

    // Has the editors hand their text to the document before a snapshot.
    std::function<void()> m_storeEditors;
    // Asks the user what to do with an offer; by default CRecoveryDialog.
    std::function<ERecoveryChoice(const CRecoveryStore::CEntry&)> m_ask;
    // Opens a saved project (for "Open the saved file" at start).
    std::function<bool(const std::string&)> m_openProject;

    // At start: offers the newest recovery an earlier run left, for
    // project (when not empty) or for any project. True when the document
    // now holds something (recovered or opened); false leaves the start to
    // the caller.
    bool OfferAtStart(const std::string& project);
    // After a project was opened: offers its recovery, if there is one.
    void OfferFor(const std::string& project);
    // The window closes with the user's consent: the recovery this run
    // wrote goes.
    void OnClosing();
    // Writes the recovery now if there is unsaved work not yet written, and
    // waits until it is on the disk (for tests and a clean stop).
    void Flush();

    const CRecoveryStore& GetStore() const { return m_store; }
    // The milliseconds of the GUI thread the last snapshot took.
    qint64 GetLastSnapshotMs() const { return m_nLastSnapshotMs; }

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void OnDocumentLoaded() override;
    void OnDocumentSaved(bool bRecreated) override;
    void Tick();
    void WriteSnapshot();
    void RemoveOwn();
    std::string CurrentKey() const;
    bool Apply(const CRecoveryStore::CEntry& entry, ERecoveryChoice choice);

    CPagewellDoc& m_doc;
    CRecoveryStore m_store;
    std::unique_ptr<CWorkerThread> m_pWriter;
    uint64_t m_nLastJob = 0;
    QTimer m_timer;
    QElapsedTimer m_sinceInput; // since the last change or key press
    uint64_t m_nSeenChanges = 0;
    uint64_t m_nWrittenChanges = 0;
    std::string m_strKey; // of the document's recovery
    bool m_bWroteKey = false; // this run wrote (or took over) that recovery
    uint64_t m_nUntitled = 0;
    qint64 m_nLastSnapshotMs = 0;
    std::shared_ptr<std::string> m_pSnapshot; // the archive form last written
};
