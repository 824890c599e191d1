// JSON documents of keycheck's reports, built with nlohmann/json, their members in the order set.
#pragma once

#include <nlohmann/json.hpp>

#include <ostream>
#include <string>

using Json = nlohmann::ordered_json;

// Text taken as bytes: each byte becomes the character of the same number (U+0000 to U+00FF),
// so that a reader gets the exact ANSI bytes back by encoding the string as Latin-1.
Json JsonBytes(const std::string& bytes);

// JsonBytes(text), or null for empty text.
Json JsonTextOrNull(const std::string& text);

// JsonBytes(bytes) when present, else null.
Json JsonBytesOrNull(bool present, const std::string& bytes);

// The document on one line, every character above U+007E escaped, and a line feed.
void PrintJson(const Json& document, std::ostream& out);
