#pragma once

#include <cstdint>
#include <ostream>
#include <string>

class CSiteServer;

// The project `serve` shows: loads it, renders its whole site into the
// server, and does so again when the project file or a file of the workspace
// (the resource folders of the current directory) changes. A project that
// does not load leaves the last good site in place.
class CServedProject {
public:
    CServedProject(std::string projectPath, CSiteServer& server, std::ostream& out, std::ostream& err);

    // Loads and renders now; false (the reason on err) when the project does
    // not load.
    bool Rebuild();
    // Rebuilds when something changed since the last look; true when it did
    // and the project loaded.
    bool RebuildIfChanged();

    // A summary of the names, sizes and times of the files a site is made
    // from; changes when any of them does.
    uint64_t Fingerprint() const;

private:
    std::string m_strProject;
    CSiteServer& m_server;
    std::ostream& m_out;
    std::ostream& m_err;
    uint64_t m_nFingerprint = 0;
};
