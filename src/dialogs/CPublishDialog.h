#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include <QDialog>

#include "generator/COutputManifest.h"
#include "publisher/CPublishTarget.h"

class CPagewellDoc;
class CPublishPrompt;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// File > Publish: the target (the site setting, editable here), Test
// Connection, Forget Password (of the keyring), the plan (what would be
// sent, replaced, removed, and the files in the way), and Publish with its
// progress, Cancel and a summary. The site is generated first on the GUI
// thread, as Generate does; the connection and the transfers run on a
// thread of their own, so the window stays responsive.
class CPublishDialog : public QDialog {
    Q_OBJECT
public:
    CPublishDialog(CPagewellDoc& doc, QWidget* pParent = nullptr);
    ~CPublishDialog() override;

    void reject() override;
    bool IsRunning() const { return m_thread.joinable(); }

private:
    enum class EMode { Test, Plan, Publish };
    struct CJob;

    void Start(EMode mode);
    // Takes the target from the field into the site settings; false after a
    // message when it is not an address Pagewell publishes to.
    bool TakeTarget(CPublishTarget& target);
    // Removes the secret kept for the target in the field from the keyring.
    void ForgetSecret();
    void RunJob(const std::shared_ptr<CJob>& pJob);
    // Called through the event loop from the publishing thread.
    void Post(std::function<void()> update);
    void AppendLog(const QString& line);
    void ShowProgress(
        size_t nFiles, size_t nTotal, uint64_t nBytes, uint64_t nBytesTotal, const QString& current);
    void Finish(const QString& summary);
    void SetRunning(bool bRunning);

    CPagewellDoc& m_doc;
    CPublishPrompt* m_pPrompt;
    std::thread m_thread;
    std::atomic<bool> m_cancel { false };
    std::chrono::steady_clock::time_point m_tStart;

    QLineEdit* m_pTarget;
    QCheckBox* m_pOverwrite;
    QPushButton* m_pTest;
    QPushButton* m_pForget;
    QPushButton* m_pPlan;
    QPushButton* m_pPublish;
    QPushButton* m_pCancel;
    QPushButton* m_pClose;
    QProgressBar* m_pProgress;
    QLabel* m_pStatus;
    QPlainTextEdit* m_pLog;
};
