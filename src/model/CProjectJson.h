#pragma once

#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

class CDocProperties;
class CGenerateDlg;
class CPagewellDoc;
class CSiteTree;
class CTreeItem;

// A JSON value that does not fit the project form; the message names the key.
class CJsonFormatError : public std::runtime_error {
public:
    // path names the value at fault as the message does ("tree[0].title"),
    // empty when no one value is.
    explicit CJsonFormatError(const std::string& message, std::string path = {})
        : std::runtime_error(message)
        , m_strPath(std::move(path))
    { }
    const std::string& GetPath() const { return m_strPath; }

private:
    std::string m_strPath;
};

// The readable form of a project:
// {"properties": {...}, "tree": [node, ...], "generate": {"destination", "spare"}}.
// Strings are Unicode here and Windows-1252 in the project; integers are the
// stored DWORDs (the stamp signed); colours are "#RRGGBB", or "#XXRRGGBB" when
// the colour's top byte XX is not 0.
class CProjectJson {
public:
    static nlohmann::ordered_json ToJson(const CPagewellDoc& doc);
    // One object and everything below it, as an element of "tree".
    static nlohmann::ordered_json BranchToJson(CTreeItem* hItem);
    // Writes ToJson(doc).dump(2) to out, byte for byte, without building the
    // tree's JSON or recursing: a tree of any depth is written in memory
    // that does not grow with it.
    static void WriteJson(const CPagewellDoc& doc, std::ostream& out);
    // Parses the text of a project's JSON form. Throws CJsonFormatError for
    // values nested deeper than kMaxDepth (a tree of about kMaxDepth / 2
    // levels) and for a key given twice in one object, and
    // nlohmann::json::exception for text that is not JSON.
    static nlohmann::ordered_json Parse(const std::string& text);
    static constexpr int kMaxDepth = 10000;
    // Fills doc from json; keys left out keep their defaults. Throws
    // CJsonFormatError for a wrong type or an unknown key.
    static void FromJson(const nlohmann::ordered_json& json, CPagewellDoc& doc);
    static void FromJson(
        const nlohmann::ordered_json& json, CDocProperties& props, CSiteTree& tree, CGenerateDlg& generate);

    // The project as its JSON file holds it: WriteJson's text and a line end.
    // The form is canonical (fixed key order, two spaces of indent, one field
    // a line, UTF-8), so a project read from such a file writes it again byte
    // for byte, and one changed title changes one line.
    static std::string ToText(const CPagewellDoc& doc);
    // ToText of the project whose archive form (.pwl bytes) is given. Uses no
    // document, so it may run on any thread; throws CArchiveException for
    // bytes that are not a project.
    static std::string ArchiveToText(std::string_view archive);
    // Reads the text of a project's JSON file into the records (left in an
    // unspecified state on failure). Empty on success, otherwise the reason,
    // starting with "line L, column C: " where a place of the text is at fault.
    static std::string ReadText(
        const std::string& text, CDocProperties& props, CSiteTree& tree, CGenerateDlg& generate);
};
