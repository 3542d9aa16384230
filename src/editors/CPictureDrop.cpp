#include "editors/CPictureDrop.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimer>
#include <QUrl>

#include "app/QtText.h"
#include "dialogs/CPictureChooser.h"
#include "platform/CPictureImport.h"

namespace {

// A name as the generator reads it back from src: the characters that would
// end or change the attribute or the address go as %XX.
QString EncodeSource(const QString& name)
{
    QString encoded;
    for (const QChar c : name) {
        if (QStringLiteral(" \"%#?&<>'").contains(c))
            encoded += QStringLiteral("%%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        else
            encoded += c;
    }
    return encoded;
}

} // namespace

CPictureDrop::CPictureDrop(QPlainTextEdit& editor)
    : QObject(&editor)
    , m_editor(editor)
{
    editor.viewport()->installEventFilter(this);
}

QStringList CPictureDrop::PictureFiles(const QMimeData* pData)
{
    QStringList files;
    if (pData == nullptr || !pData->hasUrls())
        return files;
    for (const QUrl& url : pData->urls()) {
        if (url.isLocalFile() && CPictureImport::IsPictureName(PathFromQString(url.fileName())))
            files << url.toLocalFile();
    }
    return files;
}

bool CPictureDrop::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    const QEvent::Type type = pEvent->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(pWatched, pEvent);
    auto* pDrop = static_cast<QDropEvent*>(pEvent);
    const QStringList files = PictureFiles(pDrop->mimeData());
    if (files.isEmpty() || m_editor.isReadOnly())
        return QObject::eventFilter(pWatched, pEvent);
    pDrop->setDropAction(Qt::CopyAction);
    pDrop->accept();
    if (type == QEvent::Drop) {
        // The copy may ask a question: not while the file manager waits for
        // the end of its drag.
        const QTextCursor at = m_editor.cursorForPosition(pDrop->position().toPoint());
        QTimer::singleShot(0, &m_editor, [this, at, files] { Insert(at, files); });
    }
    return true;
}

void CPictureDrop::Insert(const QTextCursor& at, const QStringList& files)
{
    CPictureChooser chooser(m_editor.window(), "images", false);
    QString text;
    qsizetype nAltStart = 0;
    qsizetype nAltLength = 0;
    for (const QString& file : files) {
        const std::optional<QString> name = chooser.Import(file);
        if (!name)
            continue;
        const QString alt
            = PathToQString(CPictureImport::AltText(PathFromQString(QFileInfo(file).fileName())))
                  .toHtmlEscaped();
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += QStringLiteral("<img src=\"%1\" alt=\"").arg(EncodeSource(*name));
        nAltStart = text.size();
        nAltLength = alt.size();
        text += alt + QStringLiteral("\">");
    }
    if (text.isEmpty())
        return;
    QTextCursor cursor = at;
    const int nStart = cursor.position();
    cursor.beginEditBlock();
    cursor.insertText(text);
    cursor.endEditBlock();
    cursor.setPosition(nStart + static_cast<int>(nAltStart));
    cursor.setPosition(nStart + static_cast<int>(nAltStart + nAltLength), QTextCursor::KeepAnchor);
    m_editor.setTextCursor(cursor);
    m_editor.ensureCursorVisible();
    m_editor.activateWindow();
    m_editor.setFocus(Qt::OtherFocusReason);
}
