// The hand-made JSON: commas between members at every depth, and bytes escaped losslessly.
#include "tools/keycheck/json_writer.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {
TEST(JsonWriterTest, NestsWithCommasOnlyBetweenMembers) {
    std::ostringstream out;
    JsonWriter json(out);
    json.BeginObject();
    json.NumberMember("a", -1);
    json.Key("list");
    json.BeginArray();
    json.BeginObject();
    json.EndObject();
    json.BeginArray();
    json.EndArray();
    json.Bool(false);
    json.Null();
    json.EndArray();
    json.OptionalStringMember("none", false, "x");
    json.OptionalNumberMember("n", true, 7);
    json.BoolMember("b", true);
    json.EndObject();
    EXPECT_EQ(out.str(), R"({"a":-1,"list":[{},[],false,null],"none":null,"n":7,"b":true})");
}

TEST(JsonWriterTest, StringsKeepEveryByteAsOneCharacter) {
    std::ostringstream out;
    JsonWriter json(out);
    json.String("q\"b\\ C:\\x\r\n\t\x01\x7F\x80\xA5\\\xFF");
    EXPECT_EQ(out.str(), R"("q\"b\\ C:\\x\r\n\t\u0001\u007f\u0080\u00a5\\\u00ff")");
}
}  // namespace
