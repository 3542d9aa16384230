#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

#include "platform/CDocument.h"
#include "platform/CFileStamp.h"

class CPagewellDoc;
class QStatusBar;

// What the user does when the open project changed on disk while it holds
// changes of its own.
enum class EOutsideChange { ReloadTheirs, KeepMine };

// Follows the open project's file on disk by its stamp (a look every
// kPollMs, which also sees a file replaced by a rename, as version control
// and sync tools write, or removed). A change made by another program
// reloads a project without unsaved changes, keeping the selected object
// where it still is, and says so in the status bar; with unsaved changes it
// asks first. A file that went is noted; Save writes it again.
class CFileWatchController : public QObject, private IDocumentListener {
    Q_OBJECT
public:
    CFileWatchController(CPagewellDoc& doc, QStatusBar& status, QObject* pParent = nullptr);
    ~CFileWatchController() override;

    static constexpr int kPollMs = 1000;

    // Asks the user (by default a message box with two buttons).
    std::function<EOutsideChange(const QString& file)> m_ask;
    // Reloads the project from its file, keeping the selection; set by the
    // application.
    std::function<bool()> m_reload;

    // Looks at the file now.
    void Check();

private:
    void OnDocumentSaved(bool bRecreated) override;
    void OnDocumentLoaded() override;
    void Note(const QString& text);

    CPagewellDoc& m_doc;
    QStatusBar& m_status;
    QTimer m_timer;
    // The file as it was when the user last chose to keep their version, so
    // that one change is asked about once.
    std::optional<CFileStamp> m_answered;
    bool m_bChecking = false;
};
