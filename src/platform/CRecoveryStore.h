#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/EFileError.h"

// The recovery files of unsaved work: one per open project (or untitled
// one), in a folder of the user's state, each holding the bytes Save would
// have written and what they belong to. A file is written atomically (a
// temporary file renamed over it), never over a project.
//
// A file is "<key>.recovery": the line "pagewell-recovery 1", lines
// "name=value" (project, format, pid, time), an empty line, then the bytes.
class CRecoveryStore {
public:
    explicit CRecoveryStore(std::string folder);
    // $XDG_STATE_HOME/pagewell/recovery.
    static std::string DefaultFolder();
    const std::string& GetFolder() const { return m_strFolder; }

    struct CEntry {
        std::string strKey;
        std::string strProject; // native path; empty for an untitled project
        bool bJson = false; // the bytes are the project's JSON text
        int nPid = 0; // the process that wrote it
        int64_t tWrittenNs = 0; // since 1970
    };

    // The key of a project's recovery: from its path, or for an untitled
    // project one of its own (this process and the given number).
    static std::string KeyForProject(const std::string& path);
    static std::string KeyForUntitled(int nPid, uint64_t nNumber);

    // Writes the recovery atomically, making the folder when needed.
    EFileError Write(const CEntry& entry, const std::string& bytes) const;
    // Reads a recovery's description, and its bytes when pBytes is given.
    bool Read(const std::string& key, CEntry& entry, std::string* pBytes = nullptr) const;
    void Remove(const std::string& key) const;

    // The recoveries worth offering, newest first: left by a process that no
    // longer runs (or by this one, pid given), and newer than their project
    // file (or its project is gone, or untitled).
    std::vector<CEntry> ListOffers(int nOwnPid) const;
    // The offer for one project, if there is one.
    std::optional<CEntry> FindOfferFor(const std::string& project, int nOwnPid) const;

private:
    std::string PathOf(const std::string& key) const;
    bool IsOffer(const CEntry& entry, int nOwnPid) const;

    std::string m_strFolder;
};
