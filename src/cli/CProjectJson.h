#pragma once

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
    // Fills doc from json; keys left out keep their defaults. Throws
    // CJsonFormatError for a wrong type or an unknown key.
    static void FromJson(const nlohmann::ordered_json& json, CPagewellDoc& doc);
};
