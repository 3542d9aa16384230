#include "dialogs/CSiteSettingsDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/QtText.h"
#include "model/CSiteSettings.h"

namespace {

QString FromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The label's text as a screen reader should say it: no mnemonic, no colon.
QString AccessibleName(std::string_view label)
{
    QString name = FromView(label);
    name.remove(QLatin1Char('&'));
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return name;
}

// text with the hyphens inside codes such as de-CH made non-breaking, so that
// word wrap never splits a code across lines (shown text only: a screen
// reader and the clipboard get the plain hyphen).
QString WithCodesKept(QString text)
{
    for (qsizetype i = 1; i + 1 < text.size(); ++i) {
        if (text[i] == QLatin1Char('-') && text[i - 1].isLetterOrNumber() && text[i + 1].isLetterOrNumber())
            text[i] = QChar(0x2011);
    }
    return text;
}

QWidget* MakeControl(const CSiteSettings::CKey& key, const CString& value)
{
    if (key.choices.empty()) {
        auto* pEdit = new QLineEdit(ToQString(value));
        pEdit->setMinimumWidth(360);
        return pEdit;
    }
    auto* pCombo = new QComboBox;
    for (const std::string_view choice : key.choices)
        pCombo->addItem(FromView(choice));
    pCombo->setCurrentIndex(pCombo->findText(ToQString(value)));
    return pCombo;
}

CString ControlText(const QWidget* pControl)
{
    if (const auto* pCombo = qobject_cast<const QComboBox*>(pControl))
        return FromQString(pCombo->currentText());
    return FromQString(static_cast<const QLineEdit*>(pControl)->text());
}

} // namespace

CSiteSettingsDialog::CSiteSettingsDialog(CSiteSettings& record, QWidget* pParent)
    : QDialog(pParent)
    , m_record(record)
{
    setObjectName("siteSettingsDialog");
    setWindowTitle(QStringLiteral("Site Settings"));

    auto* pForm = new QFormLayout;
    for (const CSiteSettings::CKey& key : CSiteSettings::Keys()) {
        QWidget* pControl = MakeControl(key, record.*key.pMember);
        pControl->setObjectName(FromView(key.strName));
        pControl->setAccessibleName(AccessibleName(key.strLabel));
        pControl->setAccessibleDescription(FromView(key.strHelp));
        auto* pLabel = new QLabel(FromView(key.strLabel));
        pLabel->setBuddy(pControl);
        auto* pHelp = new QLabel(WithCodesKept(FromView(key.strHelp)));
        pHelp->setWordWrap(true);
        // Quieter than the values by its size, not by the disabled grey,
        // which is too faint to read (and reads as unavailable to a screen
        // reader); the control carries the text as its description.
        QFont helpFont = pHelp->font();
        helpFont.setPointSizeF(helpFont.pointSizeF() * 0.9);
        pHelp->setFont(helpFont);
        auto* pField = new QVBoxLayout;
        pField->setSpacing(2);
        pField->addWidget(pControl);
        pField->addWidget(pHelp);
        pForm->addRow(pLabel, pField);
        m_controls.push_back(pControl);
    }

    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    pButtons->button(QDialogButtonBox::Ok)->setObjectName("ok");
    pButtons->button(QDialogButtonBox::Cancel)->setObjectName("cancel");
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pForm);
    pLayout->addWidget(pButtons);
}

void CSiteSettingsDialog::accept()
{
    // The choices offer only values their keys allow; a typed value (the
    // base URL) may be refused: then nothing changes and the dialog stays.
    CSiteSettings settings = m_record;
    const auto keys = CSiteSettings::Keys();
    for (size_t i = 0; i < keys.size(); ++i) {
        CString error;
        if (!settings.Set(keys[i].strName, ControlText(m_controls[i]), error)) {
            QMessageBox::warning(this, windowTitle(), WithCodesKept(ToQString(error)));
            m_controls[i]->setFocus();
            return;
        }
    }
    m_record = settings;
    QDialog::accept();
}
