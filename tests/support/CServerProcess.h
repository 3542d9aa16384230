#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

// A server program a test starts on a loopback port, with a folder of the
// test as its HOME, TMPDIR and XDG folders and its output in a log there.
// Stopped, with every process it started, when the object dies or Kill is
// called; Start again serves the same port.
class CServerProcess {
public:
    explicit CServerProcess(const std::string& folder);
    ~CServerProcess();
    CServerProcess(const CServerProcess&) = delete;
    CServerProcess& operator=(const CServerProcess&) = delete;

    // Starts argv (a path and its arguments); false when nothing accepts
    // connections on the port within ten seconds.
    bool Start(const std::vector<std::string>& argv);
    // Ends the server and its children at once, as a crash would.
    void Kill();

    int GetPort() const { return m_nPort; }
    const std::string& GetFolder() const { return m_strFolder; }
    std::string GetLog() const;

private:
    std::string m_strFolder;
    int m_nPort = 0;
    pid_t m_pid = -1;
};
