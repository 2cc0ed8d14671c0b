#pragma once
// A builder, its implementation and a fresh document, for the DOM tests.
#include "xml/KORIDOMCDATASection.h"
#include "xml/KORIDOMDocument.h"
#include "xml/KORIDOMDocumentType.h"
#include "xml/KORIDOMElement.h"
#include "xml/KORIDOMImplementation.h"
#include "xml/KORIXMLDOMDocumentBuilder.h"

#include <gtest/gtest.h>

class KORXMLDOMTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(S_OK, CreateKORIXMLDOMDocumentBuilder(_builder.Out(), CLSID_XML4C_DOM));
    ASSERT_EQ(S_OK, _builder->GetDOMImplementation(_implementation.Out()));
    ASSERT_EQ(S_OK, _implementation->CreateDocument("", "Config", nullptr, _document.Out()));
  }

  KORIDOMElement_var NewElement(const KORUnicodeString& iTagName,
                                const KORIDOMDocument_var& iDocument) {
    KORIDOMElement_var element;
    EXPECT_EQ(S_OK, iDocument->CreateElement(iTagName, element.Out()));
    return element;
  }
  KORIDOMElement_var NewElement(const KORUnicodeString& iTagName) {
    return NewElement(iTagName, _document);
  }
  KORIDOMCDATASection_var NewCDATA(const KORUnicodeString& iData) {
    KORIDOMCDATASection_var section;
    EXPECT_EQ(S_OK, _document->CreateCDATASection(iData, section.Out()));
    return section;
  }
  // The document as text, with the encoding named as the export asks for it.
  KORUnicodeString Write(const KORIDOMDocument_var& iDocument) {
    KORUnicodeString text;
    EXPECT_EQ(S_OK, _builder->WriteToString(iDocument, text, {"KOREncoding"}, {"UTF-8"}));
    return text;
  }
  KORUnicodeString Write() { return Write(_document); }

  KORIXMLDOMDocumentBuilder_var _builder;
  KORIDOMImplementation_var _implementation;
  KORIDOMDocument_var _document;
};
