#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

#include "app/CCommandRouter.h"

class QWidget;

// Help > User Guide (F1): opens the installed manual in the web browser.
class CHelpCommands : public ICommandTarget {
public:
    explicit CHelpCommands(QWidget* pParent);

    // Where the manual may be, the first that exists wins: beside the
    // program (a relocated installation), the installation's folder, this
    // build's copy.
    static QStringList ManualCandidates();
    // The manual that exists; empty when none does.
    static QString FindManual();

    // Opens an address; the desktop's browser unless a test says otherwise.
    std::function<bool(const QUrl&)> m_openUrl;

    bool OnUpdateCommand(int nId, CCmdUI& state) override;
    void OnCommand(int nId) override;

private:
    QWidget* m_pParent;
};
