#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <vector>

#include "checker/CSpelling.h"
#include "checker/SpellWords.h"

class QMenu;
class QPlainTextEdit;

// Spelling for the title and body editors: one dictionary and word lists for
// the program, following the site's language (lang) unless the user chose a
// dictionary in the editors' context menu. Words are looked up once; typing
// costs a scan of the line and look-ups in memory.
class CEditorSpelling : public QObject {
    Q_OBJECT
public:
    static CEditorSpelling& Instance();

    // The site's language tag changed (or a project was opened): loads its
    // dictionary ("en" when the site names none) unless one was chosen.
    void FollowLanguage(const QString& languageTag);
    // The user's choice: a dictionary name, or empty for none; Follow()
    // gives the choice back to the site's language.
    void Choose(const QString& dictionary);
    void Follow();

    bool IsActive() const { return m_spelling.IsLoaded(); }
    QString GetDictionary() const { return QString::fromStdString(m_spelling.GetDictionary()); }
    bool IsCorrect(const QString& word);
    // The unknown words of one line of an editor; bInTag: the line starts
    // inside a tag that an earlier line opened.
    std::vector<CWordRange> Misspelled(const QString& line, bool bInTag);

    // The word under the point at of the editor and, when it is unknown,
    // its suggestions, Add to Dictionary and Ignore; then the choice of
    // dictionary. Appended to menu.
    void AddToMenu(QMenu& menu, QPlainTextEdit& editor, const QPoint& at);

signals:
    // The dictionary or the words changed: the editors look again.
    void changed();

private:
    void Load(const QString& dictionary);
    void AddChooser(QMenu& menu);

    CSpelling m_spelling;
    QHash<QString, bool> m_known;
    QString m_strLanguage;
    bool m_bChosen = false;
};
