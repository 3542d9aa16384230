#pragma once

#include <string>

#include "support/CServerProcess.h"

// OpenSSH's sshd for a test: its own host key, config and log in a folder of
// the test, listening on a free loopback port, serving SFTP to the current
// user with the key in home/.ssh (a home of the test's own). Stopped, with
// every process it started, when the object dies or Kill is called.
class CSshServer {
public:
    // folder: where the server's files go; home: the HOME of the client,
    // whose .ssh receives the user key and, when bKnown, a known_hosts
    // entry for the server.
    CSshServer(const std::string& folder, const std::string& home);
    CSshServer(const CSshServer&) = delete;
    CSshServer& operator=(const CSshServer&) = delete;

    // Whether sshd is installed here (tests skip when it is not).
    static bool IsAvailable();

    // Starts the server (again, on the same port, after Kill); false when
    // it does not accept connections within a few seconds.
    bool Start();
    // Ends the server and its sessions at once, as a crash would.
    void Kill();
    // A new host key, as a reinstalled server has (takes effect on Start).
    void ChangeHostKey();
    // Adds the server's key to the client's known_hosts.
    void TrustHostKey() const;

    int GetPort() const { return m_nPort; }
    std::string GetUser() const;
    // The host key's "SHA256:..." fingerprint.
    std::string GetFingerprint() const;
    // sftp://user@127.0.0.1:port + path.
    std::string Url(const std::string& path) const;
    std::string GetLog() const;

private:
    void WriteConfig() const;

    CServerProcess m_process;
    std::string m_strFolder;
    std::string m_strHome;
    int m_nPort = 0;
};
