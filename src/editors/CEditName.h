#pragma once

#include "editors/CEditorView.h"

// The title editor: the current object's title and its formatting word. It
// never wraps and always shows left-aligned; a hidden title shows in the
// system face. Its Paragraph command replaces the selection.
class CEditName : public CEditorView {
    Q_OBJECT
public:
    CEditName(CPagewellDoc& doc, QWidget* pParent = nullptr);

    bool OnUpdateCommand(int nId, CCmdUI& state) override;
    void OnCommand(int nId) override;

protected:
    ETextField Field() const override;
    void ShowFormat(uint32_t nFormat) override;
    bool ApplyFormat(int nId, uint32_t& nFormat) const override;
    void AfterFormatCommand() override;
};
