#pragma once

#include <QDialog>

#include "search/SearchTypes.h"

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The Find and Replace dialog: what to look for, the choices of case, whole
// words and fields, and for replacing the replacement and whether it holds
// for the current object or all objects. It stays open beside the window
// and says through signals what the user asked for; CFindController does it.
class CFindDialog : public QDialog {
    Q_OBJECT
public:
    enum class EMode { Find, Replace };

    explicit CFindDialog(QWidget* pParent = nullptr);

    void SetMode(EMode mode);
    EMode GetMode() const { return m_mode; }

    // The choices as the search takes them (Windows-1252 texts).
    CSearchOptions GetOptions() const;
    CString GetReplacement() const;
    bool IsCurrentObjectOnly() const;
    void SetFindText(const QString& text);
    // A line under the fields that tells what the last action did.
    void ShowResult(const QString& text);
    QString GetResult() const;

signals:
    // Find: list every match and go to the next one.
    void findAll();
    void findNext();
    void replaceOne();
    void replaceAll();

private:
    QPushButton* AddButton(const char* pszName, const char* pszText);
    void UpdateButtons();

    EMode m_mode = EMode::Find;
    QLineEdit* m_pFind = nullptr;
    QLabel* m_pReplaceLabel = nullptr;
    QLineEdit* m_pReplace = nullptr;
    QCheckBox* m_pMatchCase = nullptr;
    QCheckBox* m_pWholeWords = nullptr;
    QCheckBox* m_pTags = nullptr;
    QCheckBox* m_pTitles = nullptr;
    QCheckBox* m_pTexts = nullptr;
    QWidget* m_pScope = nullptr;
    QRadioButton* m_pCurrentObject = nullptr;
    QRadioButton* m_pAllObjects = nullptr;
    QLabel* m_pResult = nullptr;
    QPushButton* m_pFindAll = nullptr;
    QPushButton* m_pFindNext = nullptr;
    QPushButton* m_pReplaceOne = nullptr;
    QPushButton* m_pReplaceAll = nullptr;
};
