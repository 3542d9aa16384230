#pragma once

// A record that doubles as a dialog: its fields persist in the model, and the
// user interface shows a dialog over them only while the dialog runs.
class CDialogRecord {
public:
    virtual ~CDialogRecord() = default;
    // The dialog's resource number, by which the user interface picks the window.
    virtual int GetDialogId() const = 0;
};
