#pragma once

#include <cstdint>
#include <optional>

#include <QString>

#include "dialogs/DialogExchange.h"
#include "platform/CString.h"

class QCheckBox;
class QComboBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The controls of the record dialogs and their exchange with the records.

// Named controls, so tests and assistive tools can find them.
QLineEdit* MakeEdit(const QString& objectName, const QString& accessibleName);
QPushButton* MakeButton(const QString& objectName, const QString& text);
QCheckBox* MakeCheck(const QString& objectName, const QString& text);
QLabel* MakeLabel(const QString& text, QWidget* pBuddy);
// The "Banners" group both property dialogs show: the three banner boxes and
// the expiry field.
// A group box named by its title for the accessibility layer.
QGroupBox* MakeGroupBox(const QString& title);
QGroupBox* MakeBannersGroup(
    QCheckBox* pNew, QCheckBox* pUpdated, QCheckBox* pConstruction, QLineEdit* pExpireDays);

// A drop-down combo box: a list to choose from and an edit field to type any
// name into. A sorted one keeps its list in order as entries are added.
QComboBox* MakeDropDownCombo(const QString& objectName, const QString& accessibleName, bool bSorted);

// The combo box's list, and replacing it.
CComboList GetComboList(const QComboBox* pCombo);
void SetComboList(QComboBox* pCombo, const CComboList& list);
// Adds one entry at its place.
void AddComboString(QComboBox* pCombo, const CString& entry);
// Fills a combo box from a resource folder ("images", "templates", ...), as
// FillComboList does, from the folder the program uses under that name.
void FillComboFromFolder(
    QComboBox* pCombo, const char* folder, const char* pattern, bool bClear, bool bStrip);

// Shows value: selects the entry FindComboEntry picks, or puts value into the
// edit field.
void ComboTextIn(QComboBox* pCombo, const CString& value);
// The combo box's current text.
CString ComboTextOut(const QComboBox* pCombo);

void CheckIn(QCheckBox* pCheck, int32_t value);
int32_t CheckOut(const QCheckBox* pCheck);

// Reads an integer field. On a bad value shows the message that keeps the
// dialog open, puts the focus on the field with its text selected, and
// returns nothing. With a range, values outside minimum to maximum are bad.
std::optional<int32_t> IntegerOut(
    QDialog* pDialog, QLineEdit* pEdit, std::optional<std::pair<int32_t, int32_t>> range = std::nullopt);

// The application's message box for invalid dialog input.
void ShowInputMessage(QWidget* pParent, const CString& text);

// Gives each template set of the combo box the picture of its example site,
// "templates/NAME.png" in the folder the program uses, when there is one.
void ShowTemplatePictures(QComboBox* pCombo);

// The names of the files in a resource folder of the program ("images", ...)
// that match pattern without regard to case, folders left out: the folder of
// the current directory, else the installed default folder of that name.
std::vector<CString> ListResourceFiles(const char* folder, const char* pattern);
