#pragma once

#include <ostream>
#include <stdexcept>
#include <string>

#include <nlohmann/json_fwd.hpp>

class CPagewellDoc;

// A JSON value that does not fit the project form; the message names the key.
class CJsonFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The readable form of a project:
// {"properties": {...}, "tree": [node, ...], "generate": {"destination", "spare"}}.
// Strings are Unicode here and Windows-1252 in the project; integers are the
// stored DWORDs (the stamp signed); colours are "#RRGGBB", or "#XXRRGGBB" when
// the colour's top byte XX is not 0.
class CProjectJson {
public:
    static nlohmann::ordered_json ToJson(const CPagewellDoc& doc);
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
};
