#include "KORXMLDOMTestSupport.h"

#include <pugixml.hpp>

namespace {

using KORXMLDOMDocumentBuilderTest = KORXMLDOMTest;

TEST_F(KORXMLDOMDocumentBuilderTest, WritesDocumentTypeTreeAttributesAndCDATA) {
  KORIDOMDocumentType_var docType;
  ASSERT_EQ(S_OK,
            _implementation->CreateDocumentType("Config", "", "/res/VrConfig.dtd", docType.Out()));
  ASSERT_EQ(S_OK, _implementation->CreateDocument("", "Config", docType, _document.Out()));

  KORIDOMElement_var config = NewElement("Config");
  ASSERT_EQ(S_OK, config->SetAttribute("ConfigID", "7"));
  ASSERT_EQ(S_OK, _document->AppendChild(config));
  // Appended after the root, written before it.
  ASSERT_EQ(S_OK, _document->AppendChild(docType));

  KORIDOMElement_var resources = NewElement("GraphicResources");
  ASSERT_EQ(S_OK, resources->SetAttribute("MainWindow", "ID1"));
  KORIDOMElement_var ig = NewElement("IG");
  ASSERT_EQ(S_OK, ig->SetAttribute("Name", "Main & <IG> \"A\""));
  ASSERT_EQ(S_OK, ig->AppendChild(NewElement("Window").get()));
  ASSERT_EQ(S_OK, resources->AppendChild(ig));
  ASSERT_EQ(S_OK, config->AppendChild(resources));

  KORIDOMElement_var mpk = NewElement("MPK");
  ASSERT_EQ(S_OK, mpk->AppendChild(NewCDATA("global {\n\tname \"x\" & <y>\n}\n").get()));
  ASSERT_EQ(S_OK, config->AppendChild(mpk));
  ASSERT_EQ(S_OK, config->AppendChild(NewElement("Devices").get()));
  KORIDOMElement_var neverAppended = NewElement("Orphan");

  EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<!DOCTYPE Config SYSTEM \"/res/VrConfig.dtd\">\n"
            "<Config ConfigID=\"7\">\n"
            "\t<GraphicResources MainWindow=\"ID1\">\n"
            "\t\t<IG Name=\"Main &amp; &lt;IG> &quot;A&quot;\">\n"
            "\t\t\t<Window />\n"
            "\t\t</IG>\n"
            "\t</GraphicResources>\n"
            "\t<MPK><![CDATA[global {\n"
            "\tname \"x\" & <y>\n"
            "}\n"
            "]]></MPK>\n"
            "\t<Devices />\n"
            "</Config>\n",
            Write());
}

TEST_F(KORXMLDOMDocumentBuilderTest, WritesPublicIdentifierAndPlainDeclaration) {
  KORIDOMDocumentType_var docType;
  ASSERT_EQ(S_OK, _implementation->CreateDocumentType("Config", "-//KOR//DTD VrConfig//EN",
                                                      "Vr'Config.dtd", docType.Out()));
  ASSERT_EQ(S_OK, _implementation->CreateDocument("", "Config", docType, _document.Out()));
  ASSERT_EQ(S_OK, _document->AppendChild(docType));

  KORUnicodeString text;
  ASSERT_EQ(S_OK, _builder->WriteToString(_document, text, {}, {}));
  EXPECT_EQ("<?xml version=\"1.0\"?>\n"
            "<!DOCTYPE Config PUBLIC \"-//KOR//DTD VrConfig//EN\" \"Vr'Config.dtd\">\n",
            text);
}

TEST_F(KORXMLDOMDocumentBuilderTest, DocumentTypeNotAppendedIsNotWritten) {
  KORIDOMDocumentType_var docType;
  ASSERT_EQ(S_OK, _implementation->CreateDocumentType("Config", "", "a\"b.dtd", docType.Out()));
  ASSERT_EQ(S_OK, _implementation->CreateDocument("", "Config", docType, _document.Out()));
  ASSERT_EQ(S_OK, _document->AppendChild(NewElement("Config").get()));
  EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Config />\n", Write());

  ASSERT_EQ(S_OK, _document->AppendChild(docType));
  EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<!DOCTYPE Config SYSTEM 'a\"b.dtd'>\n"
            "<Config />\n",
            Write());
}

TEST_F(KORXMLDOMDocumentBuilderTest, EscapesAttributeTextAndKeepsDataOnItsLine) {
  KORIDOMElement_var config = NewElement("Config");
  // Tabs and line ends in a value would be read back as spaces unless escaped.
  ASSERT_EQ(S_OK, config->SetAttribute("Text", "a\tb\nc\rd\x01'e'>f"));
  KORIDOMElement_var mixed = NewElement("Mixed");
  ASSERT_EQ(S_OK, mixed->AppendChild(NewCDATA("one").get()));
  ASSERT_EQ(S_OK, mixed->AppendChild(NewElement("Between").get()));
  ASSERT_EQ(S_OK, mixed->AppendChild(NewCDATA("").get()));
  ASSERT_EQ(S_OK, config->AppendChild(mixed));
  KORIDOMElement_var outer = NewElement("Outer");
  KORIDOMElement_var inner = NewElement("Inner");
  ASSERT_EQ(S_OK, inner->AppendChild(NewElement("Leaf").get()));
  ASSERT_EQ(S_OK, outer->AppendChild(inner));
  ASSERT_EQ(S_OK, config->AppendChild(outer));
  ASSERT_EQ(S_OK, _document->AppendChild(config));

  EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<Config Text=\"a&#09;b&#10;c&#13;d&#01;'e'>f\">\n"
            "\t<Mixed><![CDATA[one]]><Between /><![CDATA[]]></Mixed>\n"
            "\t<Outer>\n"
            "\t\t<Inner>\n"
            "\t\t\t<Leaf />\n"
            "\t\t</Inner>\n"
            "\t</Outer>\n"
            "</Config>\n",
            Write());
}

class KORCDATAEndMarkerTest : public KORXMLDOMTest,
                              public ::testing::WithParamInterface<const char*> {};

TEST_P(KORCDATAEndMarkerTest, TextStaysWellFormedAndReadsBack) {
  const KORUnicodeString data = GetParam();
  KORIDOMElement_var root = NewElement("Config");
  ASSERT_EQ(S_OK, root->AppendChild(NewCDATA(data).get()));
  ASSERT_EQ(S_OK, _document->AppendChild(root));

  const KORUnicodeString text = Write();
  pugi::xml_document parsed;
  const pugi::xml_parse_result result = parsed.load_string(text.c_str());
  ASSERT_TRUE(result) << result.description() << " at " << result.offset << " in\n" << text;
  KORUnicodeString readBack;
  for (pugi::xml_node section : parsed.child("Config").children()) {
    EXPECT_EQ(pugi::node_cdata, section.type());
    readBack += section.value();
  }
  EXPECT_EQ(data, readBack);
}

INSTANTIATE_TEST_SUITE_P(Data, KORCDATAEndMarkerTest,
                         ::testing::Values("a]]>b", "]]>", "x]]>]]>y", "]]]>>", "]]", "plain"));

TEST_F(KORXMLDOMDocumentBuilderTest, RefusesUnknownOptionsAndLeavesTextAlone) {
  ASSERT_EQ(S_OK, _document->AppendChild(NewElement("Config").get()));
  const struct {
    KORListValKORUnicodeString names, values;
  } refused[] = {
      {{"KOREncoding"}, {"ISO-8859-1"}},
      {{"KORIndent"}, {"2"}},
      {{"KOREncoding"}, {}},
      {{"KOREncoding", "KOREncoding"}, {"UTF-8"}},
  };
  for (const auto& options : refused) {
    KORUnicodeString text = "unchanged";
    EXPECT_EQ(E_INVALIDARG, _builder->WriteToString(_document, text, options.names, options.values))
        << options.names[1];
    EXPECT_EQ("unchanged", text);
  }
  KORUnicodeString text;
  EXPECT_EQ(S_OK, _builder->WriteToString(_document, text, {"KOREncoding"}, {"utf-8"}));
  EXPECT_EQ(E_INVALIDARG, _builder->WriteToString(nullptr, text, {}, {}));
}

TEST(KORXMLDOMDocumentBuilderCreation, KnowsOnlyItsOwnImplementation) {
  KORIXMLDOMDocumentBuilder_var builder;
  EXPECT_EQ(E_FAIL, CreateKORIXMLDOMDocumentBuilder(builder.Out(), "CLSID_OTHER_DOM"));
  EXPECT_FALSE(builder);
  EXPECT_EQ(E_FAIL, CreateKORIXMLDOMDocumentBuilder(builder.Out(), nullptr));
  EXPECT_FALSE(builder);
  // The identifier is compared by its text, not by its address.
  const KORString sameText = CLSID_XML4C_DOM;
  EXPECT_EQ(S_OK, CreateKORIXMLDOMDocumentBuilder(builder.Out(), sameText.c_str()));
  EXPECT_TRUE(builder);
}

} // namespace
