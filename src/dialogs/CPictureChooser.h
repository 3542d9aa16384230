#pragma once

#include <optional>

#include <QString>

class QWidget;

// Brings a picture the user chose into a picture folder of the workspace
// (the current directory): the file dialog, the question when the name is
// taken by another picture, and the message when the copy fails. The rules
// are CPictureImport's.
class CPictureChooser {
public:
    // folder: "images", "background", ...; bSubfolders: whether the name may
    // lie in a subfolder of it (not for body texts).
    CPictureChooser(QWidget* pParent, const char* folder, bool bSubfolders);

    // Runs the file dialog; the picture's name in the folder, or nothing when
    // the user cancelled or the copy failed (after its message).
    std::optional<QString> Browse();
    // As Browse for a file already chosen (a drop).
    std::optional<QString> Import(const QString& path);

private:
    QWidget* m_pParent;
    QString m_strFolder;
    bool m_bSubfolders;
};
