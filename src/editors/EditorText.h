#pragma once

#include <QFont>
#include <QString>

#include "platform/CString.h"

class QPlainTextEdit;

// The model keeps texts as Windows-1252 with CR LF line ends; the editors
// hold Unicode with one character per line break.
QString ToEditorText(const CString& text);
CString FromEditorText(const QString& text);
// The whole text of an editor, line breaks as "\n", with every character as
// typed (no-break spaces included).
QString EditorText(const QPlainTextEdit& edit);

// Where a byte offset of a stored text lies in the editor's copy of it: a
// CR LF pair (or a lone CR) is one character there, every other byte one.
int EditorPosition(const CString& stored, size_t nOffset);
// The byte offset in the stored text of a position in the editor's text, as
// a store would make it (one line break becomes CR LF, a character beyond
// the code page its "&#N;" reference).
size_t StoredOffset(const QString& text, int nPosition);

// Inserts an opening text at the start of the selection and a closing text
// at its end, replacing nothing, and selects what was selected before
// between them (with a bare caret: the caret after the opening text). An
// empty text is not inserted. One step for Undo.
void WrapSelection(QPlainTextEdit& edit, const QString& open, const QString& close);

// The display font of a style field value: 20, 16, 14, 12, 10 and 8 points
// bold for 1 to 6, 12 points regular for every other value.
QFont StyleFont(uint32_t nStyle, const QString& face);
