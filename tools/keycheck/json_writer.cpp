// JsonWriter: writes one compact JSON document, with the commas between members kept for us.
#include "tools/keycheck/json_writer.h"

void JsonWriter::BeforeValue() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_firstInLevel.empty()) {
        if (!m_firstInLevel.back())
            m_out << ',';
        m_firstInLevel.back() = false;
    }
}

void JsonWriter::BeginObject() {
    BeforeValue();
    m_out << '{';
    m_firstInLevel.push_back(true);
}

void JsonWriter::EndObject() {
    m_firstInLevel.pop_back();
    m_out << '}';
}

void JsonWriter::BeginArray() {
    BeforeValue();
    m_out << '[';
    m_firstInLevel.push_back(true);
}

void JsonWriter::EndArray() {
    m_firstInLevel.pop_back();
    m_out << ']';
}

void JsonWriter::Key(const char* name) {
    String(name);
    m_out << ':';
    m_afterKey = true;
}

void JsonWriter::String(const std::string& bytes) {
    static const char hex[] = "0123456789abcdef";
    BeforeValue();
    m_out << '"';
    for (const char c : bytes) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            m_out << '\\' << c;
        } else if (c == '\n') {
            m_out << "\\n";
        } else if (c == '\r') {
            m_out << "\\r";
        } else if (c == '\t') {
            m_out << "\\t";
        } else if (byte < 0x20 || byte >= 0x7F) {
            m_out << "\\u00" << hex[byte >> 4] << hex[byte & 0xF];
        } else {
            m_out << c;
        }
    }
    m_out << '"';
}

void JsonWriter::Number(long long value) {
    BeforeValue();
    m_out << value;
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    m_out << (value ? "true" : "false");
}

void JsonWriter::Null() {
    BeforeValue();
    m_out << "null";
}

void JsonWriter::StringMember(const char* name, const std::string& bytes) {
    Key(name);
    String(bytes);
}

void JsonWriter::NumberMember(const char* name, long long value) {
    Key(name);
    Number(value);
}

void JsonWriter::BoolMember(const char* name, bool value) {
    Key(name);
    Bool(value);
}

void JsonWriter::OptionalStringMember(const char* name, bool present, const std::string& bytes) {
    Key(name);
    if (present)
        String(bytes);
    else
        Null();
}

void JsonWriter::OptionalNumberMember(const char* name, bool present, long long value) {
    Key(name);
    if (present)
        Number(value);
    else
        Null();
}
