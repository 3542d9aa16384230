#include "app/CSingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>

CSingleInstance::CSingleInstance(QString serverName, QObject* pParent)
    : QObject(pParent)
    , m_strName(std::move(serverName))
{ }

CSingleInstance::~CSingleInstance() = default;

bool CSingleInstance::SendToRunning(const QString& path, int nTimeoutMs) const
{
    QLocalSocket socket;
    socket.connectToServer(m_strName);
    if (!socket.waitForConnected(nTimeoutMs))
        return false;
    socket.write(path.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(nTimeoutMs))
        return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(nTimeoutMs);
    return true;
}

bool CSingleInstance::Listen()
{
    if (m_pServer == nullptr) {
        m_pServer = new QLocalServer(this);
        m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_pServer, &QLocalServer::newConnection, this, &CSingleInstance::OnNewConnection);
    }
    if (m_pServer->listen(m_strName))
        return true;
    // A program that answers keeps its socket (a window started with
    // --new-instance does not take it over); only a stale one is removed.
    QLocalSocket probe;
    probe.connectToServer(m_strName);
    if (probe.waitForConnected(500)) {
        probe.disconnectFromServer();
        return false;
    }
    QLocalServer::removeServer(m_strName);
    return m_pServer->listen(m_strName);
}

void CSingleInstance::OnNewConnection()
{
    while (QLocalSocket* pSocket = m_pServer->nextPendingConnection()) {
        connect(pSocket, &QLocalSocket::disconnected, pSocket, &QObject::deleteLater);
        connect(pSocket, &QLocalSocket::readyRead, this, [this, pSocket] {
            while (pSocket->canReadLine()) {
                QString path = QString::fromUtf8(pSocket->readLine());
                path.chop(1);
                if (!path.isEmpty())
                    emit openRequested(path);
            }
        });
    }
}
