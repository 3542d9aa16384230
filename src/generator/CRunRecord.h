#pragma once

#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/CFileStamp.h"
#include "platform/CString.h"
#include "platform/IUserInterface.h"

class CArchive;
class CSiteTree;

// What a finished generation run said and which files it depended on, kept
// in the user's cache folder (one record per destination). A run whose
// inputs are all unchanged (the same program, project, settings and current
// folder, and every file it read, looked for or wrote with the same stamp)
// would write nothing and say the same again: it says it from the record
// instead of expanding every page only to find the files equal.
class CRunRecord {
public:
    struct CMessage {
        CString strText;
        CString strCaption;
        EMessageIcon icon = EMessageIcon::None;
    };

    // The hash of the inputs held in memory.
    std::string strKey;
    // The first moment the run would say something else with nothing
    // changed: when a New or Updated banner stops showing (the feed lists
    // the objects whose banner shows).
    int64_t tValidUntil = std::numeric_limits<int64_t>::max();
    std::vector<std::pair<std::string, CFileStamp>> files;
    std::vector<CMessage> messages;
    // The destination's files the run wrote or found equal (what a publish sends).
    std::vector<std::string> produced;
    CString strLog;

    // The record file in folder for a destination (of the current folder).
    static std::string GetPath(const std::string& folder, const std::string& destination);
    // Keeps at most kMaxRecords records in folder, the last written.
    static constexpr size_t kMaxRecords = 32;
    // When the next New or Updated banner of tree (and Construction banner,
    // when asked) stops showing after now.
    static int64_t GetNextExpiry(const CSiteTree& tree, int64_t now, bool bConstructionToo = false);

    // Reads the record at path; false when there is none of this version.
    bool Load(const std::string& path);
    // Writes the record to path, in a folder of the user's alone (a log names
    // the user's files), and deletes the oldest records of folder beyond
    // kMaxRecords. A record that cannot be written only costs the next run
    // its shortcut.
    void Save(const std::string& folder, const std::string& path) const;
    // Whether the record still holds at now: its time has not run out and
    // every file has the stamp it had (the caller compares the key).
    bool FilesUnchanged(int64_t now) const;

private:
    void Store(CArchive& ar) const;
    bool FromBytes(std::string_view bytes);
    static void Prune(const std::string& folder);
};
