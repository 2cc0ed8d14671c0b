// The document loader's JSON tree: the quick reader and the full parser must
// build the same tree from any text the quick one takes, and the full parser
// alone must still take, or refuse with its message, everything else.
#include "featurestore/KORJsonTree.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace {
using ::testing::HasSubstr;

// The quick reader takes iText exactly when iPlain, and then builds the
// full parser's tree.
void ExpectQuickReaderTakes(const std::string& iText, bool iPlain = true) {
  KORJsonTree quick, full;
  std::string error;
  EXPECT_EQ(quick.ParsePlain(iText), iPlain) << iText;
  if (!iPlain)
    return;
  ASSERT_TRUE(full.ParseChecked(iText, error)) << error;
  EXPECT_TRUE(KORSameJson(quick.Root(), full.Root())) << iText;
}

// iText read by the quick reader or by the full parser; the tree refers to
// iText, which must outlive it.
void Parse(KORJsonTree& oTree, std::string_view iText, bool iQuick) {
  std::string error;
  ASSERT_TRUE(iQuick ? oTree.ParsePlain(iText) : oTree.ParseChecked(iText, error)) << error;
}

TEST(JsonTreeTest, BothParsersBuildTheSameTreeFromPlainText) {
  for (const char* text :
       {R"({"a": [1, -2, 3.5, true, false, null, "x"], "b": {"c": {}}, "d": []})",
        " \t\r\n{ \"a\" :\n[ ]\t} \n", // whitespace everywhere
        "-0",                          // negative zero is an integer
        "999999999999999999", "-999999999999999999",
        "[0.1, 1e3, 1E-3, -2.5e+2, 123456789.123456789]",
        R"("~ printable ASCII !#$%&'()*+,-./:;<=>?@[]^_`{|}")"})
    ExpectQuickReaderTakes(text);
}

// Indentation is skipped a word at a time up to its first other byte: a tab,
// a line end or a value at any place of a run must stop the word there, and
// a run of spaces of any length must be skipped whole.
TEST(JsonTreeTest, TheQuickReaderSkipsWhitespaceRunsWithOtherBytesAnywhere) {
  // Runs of every length, beside keys whose closing quote falls at every place of a word.
  for (std::size_t spaces = 0; spaces < 19; ++spaces) {
    const std::string gap(spaces, ' ');
    const std::string key = "\"" + std::string(spaces, 'k') + "\"";
    ExpectQuickReaderTakes("{" + gap + key + gap + ":" + gap + "[1," + gap + "2]" + gap + "}");
  }
  for (const char other : {'\t', '\n', '\r'})
    for (std::size_t at = 0; at < 17; ++at) {
      std::string gap(17, ' ');
      gap[at] = other;
      ExpectQuickReaderTakes("[" + gap + "1," + gap + "\"x\"" + gap + "]");
      ExpectQuickReaderTakes("{" + gap.substr(0, at) + "\"k\":" + gap.substr(at) + "true}");
    }
}

TEST(JsonTreeTest, NumbersKeepTheKindTheGeneralLibraryGivesThem) {
  KORJsonTree tree;
  std::string error;
  ASSERT_TRUE(tree.Parse("[-7, 7, 7.0, -0, 1e2]", error)) << error;
  const KORJsonNode& numbers = tree.Root();
  ASSERT_EQ(numbers.count, 5u);
  EXPECT_EQ(numbers[0].kind, KORJsonKind::Signed);
  EXPECT_EQ(numbers[0].signedNumber, -7);
  EXPECT_EQ(numbers[1].kind, KORJsonKind::Unsigned);
  EXPECT_EQ(numbers[1].unsignedNumber, 7u);
  EXPECT_EQ(numbers[2].kind, KORJsonKind::Real);
  EXPECT_EQ(numbers[3].kind, KORJsonKind::Signed);
  EXPECT_FALSE(std::signbit(numbers[3].Number())) << "-0 is the integer 0, not the real -0.0";
  EXPECT_EQ(numbers[4].Number(), 100.0);
  for (const KORJsonNode& number : numbers)
    EXPECT_STREQ(number.TypeName(), "number");
}

TEST(JsonTreeTest, ARepeatedMemberKeepsItsFirstPlaceAndItsLastValue) {
  for (const bool quick : {true, false}) {
    KORJsonTree tree;
    ASSERT_NO_FATAL_FAILURE(Parse(tree, R"({"a": 1, "b": "two", "a": [3]})", quick));
    const KORJsonNode& object = tree.Root();
    ASSERT_EQ(object.count, 2u);
    EXPECT_EQ(object[0].key, "a");
    EXPECT_EQ(object[0].kind, KORJsonKind::Array);
    EXPECT_EQ(object[1].key, "b");
    EXPECT_EQ(object.Find("b")->text, "two");
    EXPECT_EQ(object.Find("c"), nullptr);
    // Keys of one length and first letter are still told apart by the rest.
    ASSERT_NO_FATAL_FAILURE(Parse(tree, R"({"ab": 1, "ac": 2, "ab": 3, "": 4, "": 5})", quick));
    ASSERT_EQ(tree.Root().count, 3u);
    EXPECT_EQ(tree.Root().Find("ab")->unsignedNumber, 3u);
    EXPECT_EQ(tree.Root().Find("ac")->unsignedNumber, 2u);
    EXPECT_EQ(tree.Root().Find("")->unsignedNumber, 5u);
  }
}

TEST(JsonTreeTest, TheFullParserTakesWhatTheQuickOneLeaves) {
  const struct {
    std::string text;
    std::string string; // the first string of the tree, decoded
  } cases[] = {
      {R"(["tab\tquote\"slash\/"])", "tab\tquote\"slash/"},
      {R"(["\u00e9t\u00e9"])", "\xc3\xa9t\xc3\xa9"},
      {"[\"\xc3\xa9\"]", "\xc3\xa9"},
      {"\xef\xbb\xbf[\"after a byte order mark\"]", "after a byte order mark"},
      {R"(["", 12345678901234567890])", ""},
      {R"(["", 1e-400])", ""},
  };
  for (const auto& leftOver : cases) {
    KORJsonTree tree;
    std::string error;
    EXPECT_FALSE(tree.ParsePlain(leftOver.text)) << leftOver.text;
    ASSERT_TRUE(tree.Parse(leftOver.text, error)) << leftOver.text << ": " << error;
    EXPECT_EQ(tree.Root()[0].text, leftOver.string);
  }
}

TEST(JsonTreeTest, TextThatIsNotJsonIsRefusedWithTheFullParsersMessage) {
  const struct {
    std::string text;
    std::string message;
  } cases[] = {
      {R"({"a": })",
       "invalid JSON at byte 7: parse error at line 1, column 7: syntax error while parsing value"},
      {"[1, 2",
       "invalid JSON at byte 6: parse error at line 1, column 6: syntax error while parsing array"},
      {"[01]",
       "invalid JSON at byte 3: parse error at line 1, column 3: syntax error while parsing array"},
      {"[1] [2]",
       "invalid JSON at byte 5: parse error at line 1, column 5: syntax error while parsing value"},
      {"[1e999]", "number overflow parsing '1e999'"},
      {"", "invalid JSON at byte 1"},
      {"[\"\x01\"]", "invalid JSON at byte 3"},
      {std::string(65, '[') + std::string(65, ']'), "line 1, column 65: nesting deeper than 64"},
  };
  for (const auto& refused : cases) {
    KORJsonTree tree;
    std::string error;
    EXPECT_FALSE(tree.ParsePlain(refused.text)) << refused.text;
    EXPECT_FALSE(tree.Parse(refused.text, error)) << refused.text;
    EXPECT_THAT(error, HasSubstr(refused.message)) << refused.text;
  }
}

TEST(JsonTreeTest, NestingUpToTheLimitIsRead) {
  const std::string deepest = std::string(64, '[') + std::string(64, ']');
  KORJsonTree tree;
  ASSERT_TRUE(tree.ParsePlain(deepest));
  const KORJsonNode* node = &tree.Root();
  int depth = 1;
  while (node->count == 1) {
    node = &(*node)[0];
    ++depth;
  }
  EXPECT_EQ(depth, 64);
}

// Reals of up to fifteen digits are divided out by the quick reader, longer
// ones and exponents read by the general conversion: both must give the very
// double the full parser gives, rounding included.
TEST(JsonTreeTest, RealsOfEveryDigitCountReadToTheSameDouble) {
  std::uint64_t state = 0x9E3779B97F4A7C15ull;
  const auto next = [&] {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  };
  std::string text = "[-0.0, 0.0, 0.1, 0.3, 999999999999999.0, 9007199254740993.0, 1.5e3, -2.50";
  for (int i = 0; i < 2000; ++i) {
    const std::string digits = std::to_string(next() % 100000000000000000ull);
    const std::size_t point = 1 + next() % digits.size();
    text += i % 3 == 0 ? ", -" : ", ";
    text.append(digits, 0, point).append(".");
    text += point < digits.size() ? digits.substr(point) : "0";
  }
  ExpectQuickReaderTakes(text + "]");
}

// Strings and indentation are scanned sixteen bytes at a time, then eight,
// then byte by byte near the end of the text: what ends a plain run must be
// seen at every place of the first and second block, and of the tail, with
// the string inside the text or ending it.
TEST(JsonTreeTest, TheQuickReaderSeesStopsAcrossBlockEdges) {
  const struct {
    const char* inserted;
    bool plain; // whether the quick reader takes the string
  } stops[] = {{"\"", true},        {"\\n", false}, {"\x01", false},
               {"\x1f", false},     {"\x7f", true}, {"\x80", false},
               {"\xc3\xa9", false}, {"~", true},    {" ", true}};
  for (const auto& stop : stops)
    for (std::size_t length = 0; length < 40; ++length)
      for (std::size_t at = 0; at <= length; ++at) {
        std::string string = std::string(at, 'a') + stop.inserted + std::string(length - at, 'b');
        if (stop.inserted[0] == '"')
          string = std::string(at, 'a'); // the string ends there
        const std::string text =
            "[\"" + string + "\"," + std::string(length, ' ') + "\n" + std::string(at, ' ') + "1]";
        ExpectQuickReaderTakes(text, stop.plain);
        ExpectQuickReaderTakes("[\"" + string + "\"]", stop.plain);
      }
}

// Merging is skipped for objects whose keys are seen to be distinct, in
// both parsers: many distinct keys, keys alike in length and ends, and a
// repeat after many others must each keep their own members.
TEST(JsonTreeTest, ObjectsOfManyKeysMergeOnlyTheirRepeats) {
  std::string many = "{";
  for (int i = 0; i < 200; ++i)
    many += "\"k" + std::to_string(i) + "x\": " + std::to_string(i) + ",";
  const struct {
    std::string text;
    std::size_t count;
    std::size_t place; // of the member named key, with its value
    const char* key;
    std::uint64_t value;
  } cases[] = {
      {many + "\"last\": 0}", 201, 7, "k7x", 7},
      {many + "\"k7x\": 1000}", 200, 7, "k7x", 1000},
      {R"({"axb": 1, "ayb": 2, "azb": 3, "ayb": 4})", 3, 1, "ayb", 4},
      {R"({"ab": 1, "ba": 2, "a": 3, "b": 4, "": 5, "ab": 6})", 5, 0, "ab", 6},
  };
  for (const auto& object : cases)
    for (const bool quick : {true, false}) {
      KORJsonTree tree;
      ASSERT_NO_FATAL_FAILURE(Parse(tree, object.text, quick));
      ASSERT_EQ(tree.Root().count, object.count) << object.text;
      EXPECT_EQ(tree.Root()[object.place].key, object.key) << object.text;
      EXPECT_EQ(tree.Root()[object.place].unsignedNumber, object.value) << object.text;
    }
}
} // namespace
