// JsonWriter: writes one compact JSON document, with the commas between members kept for us.
#pragma once

#include <ostream>
#include <string>
#include <vector>

class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : m_out(out) {}

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The name of the next member of the current object.
    void Key(const char* name);

    // Text is taken as bytes: each byte becomes the character of the same number (U+0000 to
    // U+00FF), so that a reader gets the exact ANSI bytes back by encoding it as Latin-1.
    void String(const std::string& bytes);
    void Number(long long value);
    void Bool(bool value);
    void Null();

    // Members of the current object: a name and its value; the optional ones are null when
    // present is false.
    void StringMember(const char* name, const std::string& bytes);
    void NumberMember(const char* name, long long value);
    void BoolMember(const char* name, bool value);
    void OptionalStringMember(const char* name, bool present, const std::string& bytes);
    void OptionalNumberMember(const char* name, bool present, long long value);

private:
    void BeforeValue();

    std::ostream& m_out;
    std::vector<bool> m_firstInLevel;
    bool m_afterKey = false;
};
