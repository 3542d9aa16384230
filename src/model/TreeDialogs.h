#pragma once

#include "platform/CDialogRecord.h"
#include "platform/CString.h"

// Where a new or moved object goes relative to an existing item.
enum EInsertPosition : int { POS_CHILD = 0, POS_BEFORE = 1, POS_AFTER = 2 };

// The records of the tree commands' three small dialogs. m_nEnable is a bit
// mask of the enabled radio buttons (bit 0 the first).

// "Insert new object": the tag and the position of a new object.
class CInsertObjectDlg : public CDialogRecord {
public:
    enum { IDD = 140 };
    static constexpr int kMaxTagLength = 63;
    int GetDialogId() const override { return IDD; }

    int m_nEnable = 7;
    CString m_strTag;
    int m_nPosition = POS_CHILD;
};

// "Insert Object at position": where a dragged object goes.
class CInsertPositionDlg : public CDialogRecord {
public:
    enum { IDD = 155 };
    int GetDialogId() const override { return IDD; }

    int m_nEnable = 7;
    int m_nPosition = -1;
};

// "Select type of object": the new type of the current object.
class CSelectTypeDlg : public CDialogRecord {
public:
    enum { IDD = 150 };
    int GetDialogId() const override { return IDD; }

    int m_nEnable = 7;
    int m_nNewType = -1;
};
