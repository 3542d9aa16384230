#pragma once

#include <QDialog>
#include <functional>

class CDialogRegistry;
class CInsertObjectDlg;
class CInsertPositionDlg;
class CSelectTypeDlg;
class QAbstractButton;
class QButtonGroup;
class QDialogButtonBox;
class QGridLayout;
class QLineEdit;
class QPushButton;

// The three small dialogs of the tree commands, each a thin window over its
// record: the record's values go into the controls when the dialog is built
// and come back only when it closes with OK. Each has a group of three radio
// buttons with a picture beside each; a button is enabled by its bit of the
// record's m_nEnable, the one whose index the record holds starts chosen,
// and the keyboard focus starts on OK.
class CRadioRecordDialog : public QDialog {
    Q_OBJECT
public:
    // The radio button of index 0, 1 or 2.
    QAbstractButton* GetRadioButton(int nIndex) const;
    QPushButton* GetOkButton() const;
    // The chosen index, -1 when none is.
    int GetChoice() const;

protected:
    CRadioRecordDialog(const QString& title, QWidget* pParent);
    // Adds the three radio buttons to grid with their pictures, from the
    // given row on.
    void AddRadioButtons(
        QGridLayout* pGrid, int nRow, const QString (&labels)[3], const QPixmap (&pictures)[3]);
    void SetUpChoice(int nEnable, int nChoice);
    QDialogButtonBox* GetButtonBox() const { return m_pButtons; }

    void showEvent(QShowEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    QButtonGroup* m_pGroup = nullptr;
    QDialogButtonBox* m_pButtons = nullptr;
};

// "Insert new object": a tag and where the new object goes.
class CInsertObjectDialog : public CRadioRecordDialog {
    Q_OBJECT
public:
    // beep sounds when the tag filter cuts the text.
    CInsertObjectDialog(CInsertObjectDlg& record, std::function<void()> beep, QWidget* pParent = nullptr);

    QLineEdit* GetTagEdit() const { return m_pTag; }
    void accept() override;

private:
    void OnTagChanged(const QString& text);

    CInsertObjectDlg& m_record;
    std::function<void()> m_beep;
    QLineEdit* m_pTag = nullptr;
};

// "Insert Object at position": where a dropped object goes.
class CInsertPositionDialog : public CRadioRecordDialog {
    Q_OBJECT
public:
    explicit CInsertPositionDialog(CInsertPositionDlg& record, QWidget* pParent = nullptr);
    void accept() override;

private:
    CInsertPositionDlg& m_record;
};

// "Select type of object": the new type of the current object.
class CSelectTypeDialog : public CRadioRecordDialog {
    Q_OBJECT
public:
    explicit CSelectTypeDialog(CSelectTypeDlg& record, QWidget* pParent = nullptr);
    void accept() override;

private:
    CSelectTypeDlg& m_record;
};

// Registers the three dialogs (140, 150, 155) for their records. The tag
// filter's beep goes to the live document's user interface.
void RegisterTreeDialogs(CDialogRegistry& registry);
