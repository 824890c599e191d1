// RegParser: the grammar of a registry export's lines after its header, into a key tree.
#pragma once

#include "tools/keycheck/registry/reg_cursor.h"
#include "tools/keycheck/registry/reg_key_tree.h"
#include "tools/keycheck/registry/reg_text.h"

#include <string>
#include <vector>

// Takes the lines one by one; a line that breaks the grammar throws RegSyntaxError. Keys of
// HKEY_LOCAL_MACHINE and their values go into tree, deletions included; other roots are
// checked and skipped. The lines are text in codePage, of an export of that format.
//
// Thread rule: a parser belongs to one thread.
class RegParser {
public:
    RegParser(int codePage, RegFormat format);

    void Line(const RegLine& line);
    // Called after the last line.
    void Finish() const {
        if (m_pending != Pending::Nothing)
            throw RegSyntaxError{"the file ends inside a value's data"};
    }

    RegKeyTree tree;

private:
    enum class Pending { Nothing, HexData, String };

    void KeyLine(RegCursor& cursor, const RegLine& line);
    void ValueLine(RegCursor& cursor);
    std::string ValueName(RegCursor& cursor);
    void StringData(RegCursor& cursor);
    void DwordData(RegCursor& cursor);
    void HexData(RegCursor& cursor);
    void StoreValue();
    std::string HexStringText(const std::string& bytes) const;
    std::vector<std::string> SplitKeyPath(const std::string& text) const;

    int m_codePage;
    RegFormat m_format;
    Pending m_pending = Pending::Nothing;
    bool m_inKey = false;
    RegKey* m_key = nullptr;  // the key the values are of; null under other roots or deletions
    RegValue m_value;         // the value being read
};
