#include "editors/CEditorSpelling.h"

#include <QActionGroup>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextBlock>

CEditorSpelling& CEditorSpelling::Instance()
{
    static CEditorSpelling s_spelling;
    return s_spelling;
}

void CEditorSpelling::Load(const QString& dictionary)
{
    if (dictionary == GetDictionary() && (IsActive() || dictionary.isEmpty()))
        return;
    m_known.clear();
    m_spelling.Load(dictionary.toStdString()); // none for an empty name
    emit changed();
}

void CEditorSpelling::FollowLanguage(const QString& languageTag)
{
    m_strLanguage = languageTag.isEmpty() ? QStringLiteral("en") : languageTag;
    if (!m_bChosen)
        Load(QString::fromStdString(CSpelling::DictionaryFor(m_strLanguage.toStdString())));
}

void CEditorSpelling::Choose(const QString& dictionary)
{
    m_bChosen = true;
    Load(dictionary);
}

void CEditorSpelling::Follow()
{
    m_bChosen = false;
    FollowLanguage(m_strLanguage);
}

bool CEditorSpelling::IsCorrect(const QString& word)
{
    if (!IsActive())
        return true;
    auto it = m_known.constFind(word);
    if (it == m_known.constEnd())
        it = m_known.insert(word, m_spelling.IsCorrect(word.toStdString()));
    return *it;
}

std::vector<CWordRange> CEditorSpelling::Misspelled(const QString& line, bool bInTag)
{
    std::vector<CWordRange> unknown;
    if (!IsActive())
        return unknown;
    const std::u16string_view text(
        reinterpret_cast<const char16_t*>(line.utf16()), static_cast<size_t>(line.size()));
    // The rest of a tag an earlier line opened is markup, not words.
    const size_t close = text.find(u'>');
    const size_t from = !bInTag ? 0 : close == std::u16string_view::npos ? text.size() : close + 1;
    const auto isLetter = [](char16_t c) { return QChar(c).isLetter(); };
    for (CWordRange range : FindSpellWords(text.substr(from), isLetter)) {
        range.nStart += from;
        if (!IsCorrect(line.mid(static_cast<qsizetype>(range.nStart), static_cast<qsizetype>(range.nLength))))
            unknown.push_back(range);
    }
    return unknown;
}

void CEditorSpelling::AddToMenu(QMenu& menu, QPlainTextEdit& editor, const QPoint& at)
{
    const QTextCursor cursor = editor.cursorForPosition(at);
    const QTextBlock block = cursor.block();
    const int nColumn = cursor.positionInBlock();
    QAction* pFirst = menu.actions().isEmpty() ? nullptr : menu.actions().constFirst();
    const auto insert = [&](QAction* pAction) { menu.insertAction(pFirst, pAction); };
    for (const CWordRange& range : Misspelled(block.text(), block.previous().userState() > 0)) {
        const int nStart = static_cast<int>(range.nStart);
        const int nEnd = nStart + static_cast<int>(range.nLength);
        if (nColumn < nStart || nColumn > nEnd)
            continue;
        const QString word = block.text().mid(nStart, nEnd - nStart);
        const auto replaceWith = [&editor, block, nStart, nEnd](const QString& with) {
            QTextCursor replace(block);
            replace.setPosition(block.position() + nStart);
            replace.setPosition(block.position() + nEnd, QTextCursor::KeepAnchor);
            replace.insertText(with);
            editor.setTextCursor(replace);
        };
        int nShown = 0;
        for (const std::string& suggestion : m_spelling.Suggest(word.toStdString())) {
            if (nShown++ == 6)
                break;
            const QString text = QString::fromStdString(suggestion);
            auto* pAction = new QAction(text, &menu);
            QObject::connect(
                pAction, &QAction::triggered, &editor, [replaceWith, text] { replaceWith(text); });
            insert(pAction);
        }
        if (nShown == 0) {
            auto* pNone = new QAction(QStringLiteral("(no suggestions)"), &menu);
            pNone->setEnabled(false);
            insert(pNone);
        }
        auto* pAdd = new QAction(QStringLiteral("&Add \"%1\" to Dictionary").arg(word), &menu);
        connect(pAdd, &QAction::triggered, this, [this, word] {
            m_spelling.AddToPersonal(word.toStdString());
            m_known.insert(word, true);
            emit changed();
        });
        auto* pIgnore = new QAction(QStringLiteral("&Ignore \"%1\"").arg(word), &menu);
        connect(pIgnore, &QAction::triggered, this, [this, word] {
            m_spelling.Ignore(word.toStdString());
            m_known.insert(word, true);
            emit changed();
        });
        insert(pAdd);
        insert(pIgnore);
        menu.insertSeparator(pFirst);
        break;
    }
    menu.addSeparator();
    AddChooser(menu);
}

void CEditorSpelling::AddChooser(QMenu& menu)
{
    const QString language = m_strLanguage.isEmpty() ? QStringLiteral("en") : m_strLanguage;
    const QString fitting = QString::fromStdString(CSpelling::DictionaryFor(language.toStdString()));
    QMenu* pChooser = menu.addMenu(fitting.isEmpty() && !m_bChosen
            ? QStringLiteral("&Spelling: no dictionary for %1, choose one").arg(language)
            : QStringLiteral("&Spelling Language"));
    pChooser->setObjectName(QStringLiteral("spellingLanguage"));
    auto* pGroup = new QActionGroup(pChooser);
    const auto add = [&](const QString& text, bool bChecked, auto onChosen) {
        QAction* pAction = pChooser->addAction(text);
        pAction->setCheckable(true);
        pAction->setChecked(bChecked);
        pGroup->addAction(pAction);
        connect(pAction, &QAction::triggered, this, onChosen);
    };
    add(QStringLiteral("&Site language (%1)")
            .arg(fitting.isEmpty() ? QStringLiteral("none installed") : fitting),
        !m_bChosen, [this] { Follow(); });
    add(QStringLiteral("&None"), m_bChosen && !IsActive(), [this] { Choose({}); });
    for (const std::string& name : CSpelling::InstalledDictionaries()) {
        const QString dictionary = QString::fromStdString(name);
        add(dictionary, m_bChosen && GetDictionary() == dictionary,
            [this, dictionary] { Choose(dictionary); });
    }
}
