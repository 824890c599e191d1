// JSON documents of keycheck's reports, built with nlohmann/json, their members in the order set.
#include "tools/keycheck/report/json_text.h"

Json JsonBytes(const std::string& bytes) {
    // nlohmann/json holds UTF-8: U+0080 to U+00FF take two bytes there.
    std::string utf8;
    for (const char c : bytes) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return Json(utf8);
}

Json JsonBytesOrNull(bool present, const std::string& bytes) {
    return present ? JsonBytes(bytes) : Json(nullptr);
}

void PrintJson(const Json& document, std::ostream& out) {
    out << document.dump(-1, ' ', true) << "\n";
}

Json JsonTextOrNull(const std::string& text) {
    return text.empty() ? Json(nullptr) : JsonBytes(text);
}
