#pragma once

#include <QDialog>

class QLineEdit;

// "Insert Link Reference": a reference and a description for an anchor in
// the body text. Nothing is checked.
class CInsertLinkDlg : public QDialog {
    Q_OBJECT
public:
    explicit CInsertLinkDlg(QWidget* pParent = nullptr);

    QString m_strReference;
    QString m_strDescription;

    void accept() override;

    QLineEdit* ReferenceEdit() const { return m_pReference; }
    QLineEdit* DescriptionEdit() const { return m_pDescription; }

private:
    QLineEdit* m_pReference;
    QLineEdit* m_pDescription;
};

// "Insert an Image into the text": the file name for an image tag.
class CInsertImageDlg : public QDialog {
    Q_OBJECT
public:
    explicit CInsertImageDlg(QWidget* pParent = nullptr);

    QString m_strFileName;

    void accept() override;

    QLineEdit* FileNameEdit() const { return m_pFileName; }

private:
    QLineEdit* m_pFileName;
};
