#pragma once

#include <QObject>
#include <QStringList>

class QMimeData;
class QPlainTextEdit;
class QTextCursor;

// Picture files dropped from a file manager onto the body editor: each comes
// into the workspace's images/ folder (CPictureChooser) and is named by an
// <img> at the drop position, one after another, with an alt text made from
// its file name. The last picture's alt text is selected, so typing replaces
// it; the whole insertion is one undo step. A drop without picture files is
// the editor's own.
class CPictureDrop : public QObject {
public:
    // Watches the editor's drops while the editor lives.
    explicit CPictureDrop(QPlainTextEdit& editor);

    // The local picture files among the URLs of a drop, in their order.
    static QStringList PictureFiles(const QMimeData* pData);

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void Insert(const QTextCursor& at, const QStringList& files);

    QPlainTextEdit& m_editor;
};
