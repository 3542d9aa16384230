#pragma once

#include <string>
#include <vector>

// The recent-file list of the File menu, kept in the program's private
// profile file: section "Recent File List" with the entries "File1" to
// "FileN", most recent first, and section "Settings" with "PreviewPages".
// Other sections of the file are kept as they are. Paths are native.
class CRecentFileList {
public:
    CRecentFileList(std::string profilePath, size_t nSize);

    // Reads the list from the profile; a missing file gives an empty list.
    void ReadList();
    // Writes the list (and the settings) back, creating the folder if needed.
    bool WriteList() const;

    // Puts a file at the top; an entry for the same file moves up, and the
    // oldest falls off when the list is full. Written at once.
    void Add(const std::string& path);
    // Removes an entry (a file that could not be opened). Written at once.
    void Remove(size_t nIndex);

    const std::vector<std::string>& GetEntries() const { return m_entries; }
    size_t GetSize() const { return m_nSize; }
    int GetPreviewPages() const { return m_nPreviewPages; }
    const std::string& GetProfilePath() const { return m_strProfile; }

private:
    std::string m_strProfile;
    size_t m_nSize;
    std::vector<std::string> m_entries;
    int m_nPreviewPages = 0;
};
