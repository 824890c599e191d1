// Every code keycheck's verbs report, in one table.
#include "tools/keycheck/findings/codes.h"

const CodeInfo kCodes[] = {
#define KEYCHECK_CODE_ROW(id, name, verbs, severity, meaning)                                      \
    {Code::id, name, verbs, Severity::severity, meaning},
    KEYCHECK_CODES(KEYCHECK_CODE_ROW)
#undef KEYCHECK_CODE_ROW
};
const std::size_t kCodeCount = sizeof kCodes / sizeof kCodes[0];

const CodeInfo& Describe(Code code) {
    return kCodes[static_cast<std::size_t>(code)];
}

const char* CodeName(Code code) {
    return Describe(code).name;
}

const char* SeverityName(Severity severity) {
    switch (severity) {
    case Severity::Warning:
        return "warning";
    case Severity::Note:
        return "note";
    default:
        return "finding";
    }
}
