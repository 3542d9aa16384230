#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/CFileStamp.h"
#include "platform/CFileSystem.h"
#include "platform/CString.h"

class CArchive;
class CFile;
class CView;
class IUserInterface;

// Told when the document's contents are replaced or written out, for what
// follows the file (its watcher, the recovery of unsaved work).
class IDocumentListener {
public:
    virtual ~IDocumentListener() = default;
    // After a successful New or Open, once the views have been updated.
    virtual void OnDocumentLoaded() { }
    // After a successful save; bRecreated when the file it was read from or
    // last saved to had gone from its place.
    virtual void OnDocumentSaved(bool /*bRecreated*/) { }
};

// The document side of the document/view framework: the modified flag, the
// attached views and their updates, and the New/Open/Save flows with their
// messages. Paths are native (UTF-8) file names.
class CDocument {
public:
    CDocument(IUserInterface& ui, CFileSystem& files);
    virtual ~CDocument() = default;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool bModified = true)
    {
        const bool bChanged = bModified != m_bModified;
        m_bModified = bModified;
        if (bModified) {
            m_fileRead.reset();
            ++m_nChanges;
        }
        if (bChanged && m_onModifiedChanged)
            m_onModifiedChanged(bModified);
    }
    // Told each time the modified flag changes (the window title shows it).
    void SetModifiedObserver(std::function<void(bool)> onChanged)
    {
        m_onModifiedChanged = std::move(onChanged);
    }
    // Grows with every change (every SetModifiedFlag(true)); a reader that
    // kept the count knows whether anything changed since.
    uint64_t GetChangeCount() const { return m_nChanges; }

    // The stamp of the project file as this document last read or wrote it
    // (kept while the document is modified); none for a new document. Save
    // asks before replacing a file whose stamp is no longer this one.
    const std::optional<CFileStamp>& GetDiskStamp() const { return m_diskStamp; }
    // Whether the file at the document's path is no longer what it read or
    // wrote: changed, replaced or gone.
    bool HasFileChangedOnDisk() const;
    // Takes the file as it is now as the one the document knows (the user
    // chose to keep the window's version).
    void AcceptDiskStamp();

    void AddListener(IDocumentListener* pListener);
    void RemoveListener(IDocumentListener* pListener);

    // The project file the document was read from, as it was then, and when
    // (nanoseconds since 1970): the document holds exactly what that file
    // held for as long as it is not modified. None for a new document, once
    // it is modified, or when the file changed while it was read.
    struct CFileRead {
        CFileStamp stamp;
        int64_t tReadNs = 0;
    };
    const std::optional<CFileRead>& GetFileRead() const { return m_fileRead; }

    const std::string& GetPathName() const { return m_strPathName; }
    void SetPathName(const std::string& path) { m_strPathName = path; }
    // The file name without its folder, or "Untitled" for a new project.
    std::string GetTitle() const;
    // What the window's title adds to GetTitle (" (recovered)"); cleared by
    // New, Open and Save.
    const std::string& GetTitleNote() const { return m_strTitleNote; }
    void SetTitleNote(const std::string& note) { m_strTitleNote = note; }

    // Views receive updates in the order they were attached.
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    const std::vector<CView*>& GetViews() const { return m_views; }
    void UpdateAllViews(CView* pSender, long lHint);

    // Asks "Save changes to %1?" when modified; false when the user cancels or
    // the save fails.
    bool SaveModified();

    // The user's File New, Open, Save and Save As. Each returns success.
    bool DoFileNew();
    bool DoFileOpen(const std::string& path);
    bool DoFileSave();
    bool DoFileSaveAs(const std::string& path);

    IUserInterface& GetUserInterface() { return m_ui; }
    CFileSystem& GetFileSystem() { return m_files; }

protected:
    virtual bool OnNewDocument();
    // Opens the file and hands it to LoadDocument.
    virtual bool OnOpenDocument(const std::string& path);
    virtual bool OnSaveDocument(const std::string& path);
    virtual void Serialize(CArchive& ar) = 0;
    virtual void DeleteContents() { }
    // Runs after a successful New or Open: the views' initial updates, in
    // attach order.
    virtual void OnInitialUpdate();
    // Loads a whole file; the base serialises straight into the document.
    // Throws CArchiveException when the data ends early.
    virtual void LoadDocument(CArchive& ar);
    // Reads the open file into the document, reporting its own errors; the
    // base reads the archive through LoadDocument. False when nothing was
    // read.
    virtual bool ReadFromFile(CFile& file, const std::string& path);
    // Writes the document's file contents to file (the base: the archive).
    virtual void WriteToFile(CFile& file);
    // Reads an archive held in memory (a whole file read ahead), reporting as
    // ReadFromFile does.
    bool ReadArchive(CArchive& ar, CFile& file, const std::string& path);

    // Shows the framework's message for a file error; saving picks the save
    // texts for errors that have no message of their own.
    void ReportFileError(EFileError error, const std::string& path, bool bSaving);
    void ReportMessage(const CString& text);
    // Tells the listeners that the document's contents were replaced.
    void NotifyLoaded();

private:
    void NotifySaved();

    IUserInterface& m_ui;
    CFileSystem& m_files;
    bool m_bModified = false;
    std::function<void(bool)> m_onModifiedChanged;
    std::optional<CFileRead> m_fileRead;
    std::optional<CFileStamp> m_diskStamp;
    uint64_t m_nChanges = 0;
    bool m_bSaveRecreated = false;
    std::vector<IDocumentListener*> m_listeners;
    std::string m_strPathName;
    std::string m_strTitleNote;
    std::vector<CView*> m_views;
};
