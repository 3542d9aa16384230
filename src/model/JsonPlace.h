#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// A place in a text: line and column, both from 1, the column in bytes.
struct CJsonPlace {
    size_t nLine = 1;
    size_t nColumn = 1;
};

// Where the value named by path ("tree[0].children[2].title", as the project
// form's messages name values; empty for the whole document) starts in the
// JSON text; the last such value when a key is given twice. None when the
// text holds no value there. The text is only scanned, not parsed: it is
// called for a message, after the parser has accepted the text.
std::optional<CJsonPlace> FindJsonValue(std::string_view text, const std::string& path);
