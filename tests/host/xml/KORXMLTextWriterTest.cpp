#include "xml/KORXMLTextWriter.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

using namespace std::literals;

KORUnicodeString AttributeAsWritten(std::string_view iValue) {
  KORUnicodeString text;
  KORXMLTextWriter writer(text);
  writer.StartElement("E");
  writer.Attribute("A", iValue);
  writer.EndElement();
  return text;
}

// Values are scanned eight characters at a time until one needs escaping:
// each character to escape is put before, on and after a block boundary.
TEST(KORXMLTextWriter, EscapesAttributeCharactersWhereverTheyFall) {
  const struct {
    std::string_view value;
    const char* written;
  } kCases[] = {
      {"", ""},
      {"&bcdefghijklmnop", "&amp;bcdefghijklmnop"},
      {"abcdefg<ijklmnop", "abcdefg&lt;ijklmnop"},
      {"abcdefgh\"jklmnop", "abcdefgh&quot;jklmnop"},
      {"abcdefghijklmno\t", "abcdefghijklmno&#09;"},
      {"abcdefghijklmnopq\x1f", "abcdefghijklmnopq&#31;"},
      {"abcdefgh<<&&\"\"ij", "abcdefgh&lt;&lt;&amp;&amp;&quot;&quot;ij"},
      // Bytes of multi-byte characters and DEL go out as they are, also
      // beside a character that does not.
      {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\x7f>'", "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\x7f>'"},
      {"\xE2\x82\xAC\xE2\x82\xAC\xE2\x01", "\xE2\x82\xAC\xE2\x82\xAC\xE2&#01;"},
      // A value ends at its first NUL, here inside the second block.
      {"abcdefghij\0&klm"sv, "abcdefghij"},
  };
  for (const auto& c : kCases)
    EXPECT_EQ("\n<E A=\""s + c.written + "\" />", AttributeAsWritten(c.value))
        << "value of " << c.value.size() << " characters";
}

TEST(KORXMLTextWriter, ClosesEachStartTagByWhatFollowsIt) {
  KORUnicodeString text = "before";
  KORXMLTextWriter writer(text);
  writer.Declaration(std::nullopt);
  ASSERT_TRUE(writer.DocumentType("Config", "", "Vr'Config.dtd"));
  writer.StartElement("Config");
  writer.Attribute("ID", "1");
  writer.StartElement("Empty");
  writer.EndElement();
  writer.StartElement("Data");
  writer.CharacterData("a]]>b");
  writer.EndElement();
  writer.StartElement("Mixed");
  writer.CharacterData("x");
  writer.StartElement("Inner");
  writer.EndElement();
  writer.EndElement();
  writer.EndElement();
  writer.End();
  EXPECT_EQ("before<?xml version=\"1.0\"?>\n"
            "<!DOCTYPE Config SYSTEM \"Vr'Config.dtd\">\n"
            "<Config ID=\"1\">\n"
            "\t<Empty />\n"
            "\t<Data><![CDATA[a]]]]><![CDATA[>b]]></Data>\n"
            "\t<Mixed><![CDATA[x]]><Inner />\n"
            "\t</Mixed>\n"
            "</Config>\n",
            text);
}

TEST(KORXMLTextWriter, RefusesADocumentTypeItCannotQuote) {
  KORUnicodeString text;
  KORXMLTextWriter writer(text);
  EXPECT_FALSE(writer.DocumentType("Config", "", "a'b\"c"));
  EXPECT_EQ("", text);
  ASSERT_TRUE(writer.DocumentType("Config", "-//KOR//EN", "a\"b"));
  EXPECT_EQ("\n<!DOCTYPE Config PUBLIC \"-//KOR//EN\" 'a\"b'>", text);
}

} // namespace
