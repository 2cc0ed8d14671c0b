#include "KORXMLDOMTestSupport.h"

namespace {

using KORDOMTreeTest = KORXMLDOMTest;

KORBaseUnknown* Identity(KORBaseUnknown* iObject) {
  return KORQuery<KORBaseUnknown>(iObject).get();
}

TEST_F(KORDOMTreeTest, FirstAppendedElementBecomesTheOnlyRoot) {
  KORIDOMElement_var root;
  EXPECT_EQ(E_FAIL, _document->GetDocumentElement(root.Out()));
  EXPECT_FALSE(root);

  KORIDOMElement_var config = NewElement("Config");
  KORIDOMNode_var appended;
  ASSERT_EQ(S_OK, _document->AppendChild(config, appended.Out()));
  EXPECT_EQ(Identity(config), Identity(appended));

  EXPECT_EQ(E_FAIL, _document->AppendChild(NewElement("Other").get()));
  // Appending the root again only moves it to where it already is.
  EXPECT_EQ(S_OK, _document->AppendChild(config));

  ASSERT_EQ(S_OK, _document->GetDocumentElement(root.Out()));
  KORUnicodeString tagName;
  ASSERT_EQ(S_OK, root->GetTagName(tagName));
  EXPECT_EQ("Config", tagName);
}

TEST_F(KORDOMTreeTest, RefusesChildrenTheTreeCannotHold) {
  KORIDOMElement_var root = NewElement("Config");
  KORIDOMElement_var child = NewElement("Devices");
  KORIDOMCDATASection_var data = NewCDATA("text");
  ASSERT_EQ(S_OK, _document->AppendChild(root));
  ASSERT_EQ(S_OK, root->AppendChild(child));

  EXPECT_EQ(E_FAIL, _document->AppendChild(data)) << "character data at document level";
  EXPECT_EQ(E_FAIL, data->AppendChild(NewElement("Inner").get()))
      << "a CDATA section has no children";
  EXPECT_EQ(E_FAIL, child->AppendChild(root)) << "an element below its own descendant";
  EXPECT_EQ(E_FAIL, child->AppendChild(child)) << "an element below itself";
  EXPECT_EQ(E_FAIL, root->AppendChild(_document)) << "a document below an element";
  EXPECT_EQ(E_INVALIDARG, root->AppendChild(nullptr));

  KORIDOMDocument_var other;
  ASSERT_EQ(S_OK, _implementation->CreateDocument("", "Config", nullptr, other.Out()));
  EXPECT_EQ(E_INVALIDARG, root->AppendChild(NewElement("Foreign", other).get()))
      << "an element of another document";
  EXPECT_EQ(E_INVALIDARG, other->AppendChild(NewElement("Config").get()));
}

TEST_F(KORDOMTreeTest, DocumentTypeBelongsToOneDocument) {
  KORIDOMDocumentType_var docType;
  ASSERT_EQ(S_OK, _implementation->CreateDocumentType("Config", "", "VrConfig.dtd", docType.Out()));
  EXPECT_EQ(E_INVALIDARG, _document->AppendChild(docType)) << "not given to this document";

  KORIDOMDocument_var first, second;
  ASSERT_EQ(S_OK, _implementation->CreateDocument("", "Config", docType, first.Out()));
  EXPECT_EQ(E_INVALIDARG, _implementation->CreateDocument("", "Config", docType, second.Out()));
  EXPECT_FALSE(second);

  KORIDOMElement_var root = NewElement("Config", first);
  ASSERT_EQ(S_OK, first->AppendChild(docType));
  ASSERT_EQ(S_OK, first->AppendChild(root));
  EXPECT_EQ(E_FAIL, root->AppendChild(docType)) << "a document type below an element";
}

TEST_F(KORDOMTreeTest, RefusesWhatItCannotWrite) {
  KORIDOMElement_var element;
  for (const char* badName : {"", "1st", "two words", "a<b"})
    EXPECT_EQ(E_INVALIDARG, _document->CreateElement(badName, element.Out())) << badName;
  EXPECT_FALSE(element);

  element = NewElement("Window");
  EXPECT_EQ(E_INVALIDARG, element->SetAttribute("bad name", "1"));

  KORIDOMDocumentType_var docType;
  EXPECT_EQ(E_INVALIDARG,
            _implementation->CreateDocumentType("Config", "", "both \" and '", docType.Out()));
  KORIDOMDocument_var document;
  EXPECT_EQ(E_INVALIDARG,
            _implementation->CreateDocument("urn:kor", "Config", nullptr, document.Out()));
  EXPECT_FALSE(document);
}

TEST_F(KORDOMTreeTest, AttributesKeepFirstOrderAndLastValue) {
  KORIDOMElement_var element = NewElement("IG");
  ASSERT_EQ(S_OK, element->SetAttribute("Name", "first"));
  ASSERT_EQ(S_OK, element->SetAttribute("Host", "localhost"));
  ASSERT_EQ(S_OK, element->SetAttribute("Name", "second"));

  KORUnicodeString value;
  EXPECT_EQ(S_OK, element->GetAttribute("Name", value));
  EXPECT_EQ("second", value);
  EXPECT_EQ(S_FALSE, element->GetAttribute("Port", value));
  EXPECT_EQ("", value);

  ASSERT_EQ(S_OK, _document->AppendChild(element));
  EXPECT_NE(Write().find("<IG Name=\"second\" Host=\"localhost\" />"), KORUnicodeString::npos);
}

TEST_F(KORDOMTreeTest, TextStopsAtNul) {
  // The export terminates its stream text with a NUL before handing it over.
  KORUnicodeString data;
  ASSERT_EQ(S_OK, NewCDATA(KORUnicodeString("file text\n\0", 11))->GetData(data));
  EXPECT_EQ("file text\n", data);
}

TEST_F(KORDOMTreeTest, AnyInterfaceGivesTheSameIdentity) {
  KORIDOMElement_var element = NewElement("View");
  KORIDOMNode_var asNode = KORQuery<KORIDOMNode>(element);
  ASSERT_TRUE(asNode);
  EXPECT_EQ(Identity(element), Identity(asNode));
  EXPECT_EQ(static_cast<KORBaseUnknown*>(element.get()), Identity(asNode));

  KORIDOMNode_var documentAsNode = KORQuery<KORIDOMNode>(_document);
  EXPECT_EQ(Identity(_document), Identity(documentAsNode));
  EXPECT_EQ(Identity(_document), Identity(KORQuery<KORIDOMDocument>(documentAsNode).get()));
  EXPECT_NE(Identity(_document), Identity(element));

  void* wrong = &wrong;
  EXPECT_EQ(E_NOINTERFACE, element->QueryInterface(KORIDOMDocument::IID, &wrong));
  EXPECT_EQ(nullptr, wrong);
  EXPECT_FALSE(KORQuery<KORIDOMElement>(NewCDATA("x")));
  EXPECT_EQ(Identity(_builder), Identity(KORQuery<KORIXMLDOMDocumentBuilder>(_builder).get()));
  EXPECT_EQ(Identity(_implementation),
            Identity(KORQuery<KORIDOMImplementation>(Identity(_implementation)).get()));
}

TEST_F(KORDOMTreeTest, ChildrenDoNotKeepTheirDocumentAlive) {
  KORIDOMElement_var root = NewElement("Config");
  ASSERT_EQ(S_OK, _document->AppendChild(root));
  ASSERT_EQ(S_OK, root->AppendChild(NewCDATA("data").get()));
  // Ours is the only reference left on the document: the next one is the second.
  EXPECT_EQ(2u, _document->AddRef());
  EXPECT_EQ(1u, _document->Release());
  // Ours and the document's.
  EXPECT_EQ(3u, root->AddRef());
  EXPECT_EQ(2u, root->Release());

  _document.reset();
  KORUnicodeString tagName;
  EXPECT_EQ(S_OK, root->GetTagName(tagName));
  EXPECT_EQ(2u, root->AddRef()) << "the document let its root go";
  root->Release();
}

TEST_F(KORDOMTreeTest, ChildOutlivingItsParentMovesSafely) {
  // Guards a child pointing at a freed parent: moving it then touched freed memory.
  KORIDOMElement_var root = NewElement("Config");
  KORIDOMElement_var parent = NewElement("Devices");
  KORIDOMElement_var child = NewElement("ButtonDevice");
  ASSERT_EQ(S_OK, _document->AppendChild(root));
  ASSERT_EQ(S_OK, parent->AppendChild(child));
  parent.reset();
  ASSERT_EQ(S_OK, root->AppendChild(child));
  // Ours and the root's.
  EXPECT_EQ(3u, child->AddRef());
  child->Release();
}

TEST_F(KORDOMTreeTest, AppendingMovesAnElementBetweenParents) {
  KORIDOMElement_var root = NewElement("Config");
  KORIDOMElement_var first = NewElement("First");
  KORIDOMElement_var second = NewElement("Second");
  ASSERT_EQ(S_OK, _document->AppendChild(root));
  ASSERT_EQ(S_OK, root->AppendChild(first));
  ASSERT_EQ(S_OK, root->AppendChild(second));
  ASSERT_EQ(S_OK, first->AppendChild(NewElement("Moved").get()));
  KORIDOMElement_var moved = NewElement("Moving");
  ASSERT_EQ(S_OK, first->AppendChild(moved));
  ASSERT_EQ(S_OK, second->AppendChild(moved));

  EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<Config>\n"
            "\t<First>\n"
            "\t\t<Moved />\n"
            "\t</First>\n"
            "\t<Second>\n"
            "\t\t<Moving />\n"
            "\t</Second>\n"
            "</Config>\n",
            Write());
}

} // namespace
