#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CString.h"

// The rules by which the property dialogs move values between their records
// and their controls, free of any window so that they can be checked alone.

// The entries of a combo box's list. A sorted list inserts each new entry at
// its place (without regard to case, after equal entries); an unsorted one
// appends it.
class CComboList {
public:
    explicit CComboList(bool bSorted)
        : m_bSorted(bSorted)
    { }

    bool IsSorted() const { return m_bSorted; }
    void Clear() { m_entries.clear(); }
    void AddString(const CString& entry);
    const std::vector<CString>& Entries() const { return m_entries; }

private:
    bool m_bSorted;
    std::vector<CString> m_entries;
};

// The entry a combo box selects when it shows value: an entry equal to value
// without regard to case, else the first entry that begins with value, else
// none (the value then goes into the edit field). An empty value selects
// nothing, so that an empty field stays empty.
std::optional<size_t> FindComboEntry(const std::vector<CString>& entries, const CString& value);

// Reads a decimal integer as a dialog's integer field holds it: optional
// blanks, an optional sign, digits, optional blanks. Empty when the text is
// not such an integer or does not fit 32 bits.
std::optional<int32_t> ParseDialogInteger(std::string_view text);

// The messages that keep a dialog open on a bad integer.
CString IntegerMessage();
CString IntegerRangeMessage(int32_t minimum, int32_t maximum);

// Fills a combo box's list with file names found in a resource folder:
// empties it first when bClear is set; skips hidden names (beginning with
// "."); cuts each name at its first "." when bStrip is set; adds the rest.
void FillComboList(CComboList& list, const std::vector<CString>& found, bool bClear, bool bStrip);
