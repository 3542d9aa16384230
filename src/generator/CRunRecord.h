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
    // Keeps at most kMaxRecords records in folder, the last written, and of
    // those no more than kMaxTotalBytes (the newest always).
    static constexpr size_t kMaxRecords = 32;
    static constexpr uint64_t kMaxTotalBytes = uint64_t { 256 } << 20;
    // What a record of a site of that many objects may hold, in its file and
    // once read: a larger one is not read (nor kept), so that a damaged or
    // planted file cannot exhaust the memory. A run's record takes some
    // hundred bytes an object (mostly its log), far less in its file.
    static size_t GetMaxBytes(size_t nObjects);
    // When the next New or Updated banner of tree (and Construction banner,
    // when asked) stops showing after now.
    static int64_t GetNextExpiry(const CSiteTree& tree, int64_t now, bool bConstructionToo = false);

    enum class ELoad { Loaded, None, Refused };
    // Reads the record at path. None when there is none of this version or
    // it is larger than nMaxBytes. Refused when the file or its folder is
    // not the user's alone (another user's, or writable by others): a
    // record says what a run would write, so one planted by someone else
    // could make a run skip its work.
    ELoad Load(const std::string& path, size_t nMaxBytes);
    // Writes the record to path, in a folder of the user's alone (a log names
    // the user's files), readable by the user alone, and deletes the oldest
    // records of folder beyond the bounds. Nothing is written into a folder
    // that is not the user's alone, and a record larger than nMaxBytes is
    // not kept. A record that cannot be written only costs the next run its
    // shortcut.
    void Save(const std::string& folder, const std::string& path, size_t nMaxBytes) const;
    // Whether the record still holds at now: its time has not run out and
    // every file has the stamp it had (the caller compares the key).
    bool FilesUnchanged(int64_t now) const;

    // The record as its file holds it, and back; false when bytes are not
    // a whole record or would take more than nMaxBytes.
    std::string ToBytes() const;
    bool FromBytes(std::string_view bytes, size_t nMaxBytes);
    // The bytes the record holds in memory (its texts).
    size_t GetSize() const;

private:
    static void Prune(const std::string& folder);
};
