#pragma once

#include <vector>

#include <QDialog>

class CSiteSettings;
class QWidget;

// The "Site Settings" dialog over the site settings: one row per setting of
// the settings' key table, a label, a control (a list for a setting with
// fixed values, a text field otherwise) and a line of explanation. OK takes
// the values into the record.
class CSiteSettingsDialog : public QDialog {
    Q_OBJECT
public:
    CSiteSettingsDialog(CSiteSettings& record, QWidget* pParent = nullptr);

    void accept() override;

private:
    CSiteSettings& m_record;
    // The control of each key, in the order of the key table.
    std::vector<QWidget*> m_controls;
};
