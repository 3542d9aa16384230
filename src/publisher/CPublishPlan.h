#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "publisher/CPublishedManifest.h"
#include "publisher/IRemoteFolder.h"

// A file of the generated site as a publish sends it.
struct CLocalFile {
    std::string strName;
    std::string strPath;
    uint64_t nSize = 0;
    std::string strHash;
};

// What a publish will do, worked out before anything is changed on the
// remote: files to send (new there), to replace (ours, changed), to remove
// (ours, no longer in the site), and names that clash with files Pagewell did
// not put there. Nothing else in the folder is ever touched.
class CPublishPlan {
public:
    // remote: the folder's record (empty when there is none); listing: what
    // the folder holds. False, with a message, for a record that names a
    // link or a folder.
    static bool Make(const std::vector<CLocalFile>& local, const CPublishedManifest& remote,
        const std::vector<CRemoteEntry>& listing, bool bOverwriteForeign, CPublishPlan& plan,
        std::string& error);

    std::vector<CLocalFile> m_send;
    std::vector<CLocalFile> m_replace;
    std::vector<std::string> m_remove;
    // Foreign files in the way, left alone.
    std::vector<std::string> m_clashes;
    // Temporary files an interrupted transfer left behind.
    std::vector<std::string> m_leftovers;
    // The folder's record less the files that are no longer there.
    CPublishedManifest m_record;
    bool m_bRecordChanged = false;

    // Whether the publish changes nothing on the remote.
    bool IsEmpty() const
    {
        return m_send.empty() && m_replace.empty() && m_remove.empty() && m_leftovers.empty()
            && !m_bRecordChanged;
    }
    static uint64_t BytesOf(const std::vector<CLocalFile>& files);
};
