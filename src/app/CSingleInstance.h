#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// Opening a project while the program runs opens it in the running window:
// the first program listens on a local socket of the user's own, and a later
// start with a project file hands the file's path over and ends.
class CSingleInstance : public QObject {
    Q_OBJECT
public:
    explicit CSingleInstance(QString serverName, QObject* pParent = nullptr);
    ~CSingleInstance() override;

    // Hands a path to the running program; false when none answers.
    bool SendToRunning(const QString& path, int nTimeoutMs = 1000) const;
    // Starts listening; a stale socket of an ended program is removed first.
    // False while another program listens under the name.
    bool Listen();

signals:
    void openRequested(const QString& path);

private:
    void OnNewConnection();

    QString m_strName;
    QLocalServer* m_pServer = nullptr;
};
