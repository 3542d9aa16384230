#include "editors/EditorText.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "app/CPlatformMapping.h"
#include "app/QtText.h"

QString ToEditorText(const CString& text)
{
    QString result = ToQString(text);
    result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

CString FromEditorText(const QString& text)
{
    QString copy = text;
    copy.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return FromQString(copy);
}

QString EditorText(const QPlainTextEdit& edit)
{
    // toPlainText would turn no-break spaces into plain ones.
    QString text = edit.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

int EditorPosition(const CString& stored, size_t nOffset)
{
    int nPosition = 0;
    const size_t nEnd = std::min(nOffset, stored.size());
    for (size_t i = 0; i < nEnd; ++i) {
        if (stored[i] == '\r' && i + 1 < stored.size() && stored[i + 1] == '\n')
            continue; // the pair counts once, at its LF
        ++nPosition;
    }
    return nPosition;
}

size_t StoredOffset(const QString& text, int nPosition)
{
    return FromEditorText(text.left(nPosition)).size();
}

void WrapSelection(QPlainTextEdit& edit, const QString& open, const QString& close)
{
    QTextCursor cursor = edit.textCursor();
    int nStart = cursor.selectionStart();
    const int nEnd = cursor.selectionEnd();
    int nShift = 0;
    cursor.beginEditBlock();
    if (!open.isEmpty()) {
        cursor.setPosition(nStart);
        cursor.insertText(open);
        nShift = cursor.position() - nStart;
        nStart += nShift;
    }
    if (!close.isEmpty()) {
        cursor.setPosition(nEnd + nShift);
        cursor.insertText(close);
    }
    cursor.endEditBlock();
    cursor.setPosition(nStart);
    cursor.setPosition(nEnd + nShift, QTextCursor::KeepAnchor);
    edit.setTextCursor(cursor);
    edit.ensureCursorVisible();
}

QFont StyleFont(uint32_t nStyle, const QString& face)
{
    static constexpr int kSizes[] = { 20, 16, 14, 12, 10, 8 };
    if (nStyle >= 1 && nStyle <= 6)
        return PlatformMapping::PointFont(face, kSizes[nStyle - 1], 700);
    return PlatformMapping::PointFont(face, 12, 400);
}
