// The text a registry value holds: a string, an expandable string or a multi-string.
#include "tools/keycheck/registry/reg_value_text.h"

#include "tools/keycheck/text/code_page.h"

namespace {
// The data's text: code-page bytes, or UTF-16LE converted, up to the end.
std::string DataText(const std::string& data, RegFormat format, int codePage) {
    return format == RegFormat::Version5 ? Utf16ToCodePage(data, codePage) : data;
}
}  // namespace

std::vector<std::string> RegValueStrings(const RegValue& value, RegFormat format, int codePage) {
    if (value.type == kRegSz)
        return {value.data};
    if (value.type != kRegExpandSz && value.type != kRegMultiSz)
        return {};
    // Each string ends in a NUL character; a multi-string ends with an empty one.
    const std::string text = DataText(value.data, format, codePage);
    std::vector<std::string> strings;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\0', start);
        if (end == std::string::npos)
            end = text.size();
        if (end == start)
            break;
        strings.push_back(text.substr(start, end - start));
        if (value.type == kRegExpandSz)
            break;
        start = end + 1;
    }
    return strings;
}
