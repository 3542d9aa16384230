#pragma once

#include <QString>

#include "app/CRecoveryController.h"

// The question put when unsaved work of an earlier run is found: what it
// is, from when, and Recover / Open the saved file / Discard.
class CRecoveryDialog {
public:
    static ERecoveryChoice Ask(const CRecoveryStore::CEntry& entry);
    // The question's text (its wording is tested).
    static QString Text(const CRecoveryStore::CEntry& entry);
};
