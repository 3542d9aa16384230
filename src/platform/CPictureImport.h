#pragma once

#include <functional>
#include <string>
#include <string_view>

class CFileSystem;

// Brings a picture the user chose anywhere on the disk into a picture folder
// of the workspace ("images", "background", ...), so that the name a project
// gives it finds the file. A picture already in the folder is used by its
// name there; any other is copied in under a name that works on every web
// server (lower case; letters, digits, '-' and '_'). Paths and names are
// native (UTF-8).
class CPictureImport {
public:
    // The user's answer when the name is taken by a different picture.
    enum class EClashAnswer { UseExisting, KeepBoth, Replace, Cancel };
    enum class EOutcome {
        Inside, // the picture lies in the folder already: its name there
        Copied, // copied in under a free name
        Existing, // the picture there is used (same bytes, or the user said so)
        Replaced, // the picture there was overwritten
        Cancelled,
        Failed, // error holds the message
    };
    struct CResult {
        EOutcome outcome = EOutcome::Failed;
        std::string name; // relative to the folder, '/' between parts
        std::string error;
    };
    // Asked with the name in the folder that a different picture holds.
    using CAsk = std::function<EClashAnswer(const std::string& name)>;

    // folder: where the project's pictures of this kind live. defaultFolder:
    // the installed folder the program reads instead while the workspace has
    // no such folder (empty for none); a folder created for a copy starts as
    // a copy of it, so the names the project already uses keep their files.
    // bSubfolders: whether a name may lie in a subfolder (body texts take
    // plain names only, so a picture below the folder is copied into it).
    CPictureImport(CFileSystem& files, std::string folder, std::string defaultFolder, bool bSubfolders);

    // Whether a file name has the extension of a picture the program offers.
    static bool IsPictureName(std::string_view fileName);
    // The file name a picture takes in the folder.
    static std::string SafeName(std::string_view fileName);
    // A first text for the picture's alt attribute: the base name, '-' and
    // '_' read as spaces.
    static std::string AltText(std::string_view fileName);

    CResult Import(const std::string& source, const CAsk& ask) const;

    // The first of name, name-2, name-3, ... (before the extension) that no
    // file of the folder holds, letter case ignored.
    std::string FreeName(const std::string& name) const;

private:
    // The folder the names are read from now: the workspace's, or the
    // default one while the workspace has none.
    std::string ReadFolder() const;
    // The name of the picture relative to the read folder, or "" when it is
    // not there.
    std::string NameInside(const std::string& source) const;
    // The entry of the read folder equal to name without regard to case, or "".
    std::string FindTaken(const std::string& name) const;
    // Copies source to name in the folder, replacing a file there only when
    // the copy is complete. Empty on success, else the message.
    std::string CopyIn(const std::string& source, const std::string& name) const;
    std::string EnsureFolder() const;

    CFileSystem& m_files;
    std::string m_strFolder;
    std::string m_strDefaultFolder;
    bool m_bSubfolders;
};
