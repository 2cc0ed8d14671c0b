#pragma once
// The nodes of the host's DOM implementation (internal to host/xml). They
// keep their own tree; KORDOMWriter turns it into text.
//
// Ownership goes down only: a parent holds its children, a child knows its
// parent by a plain pointer that the parent clears when it dies, and a node
// knows its document by a shared owner token rather than by the document, so
// no reference cycle can form.
#include "xml/KORDOMObject.h"
#include "xml/KORIDOMCDATASection.h"
#include "xml/KORIDOMDocument.h"
#include "xml/KORIDOMDocumentType.h"
#include "xml/KORIDOMElement.h"

#include <memory>
#include <utility>
#include <vector>

// Identifies the document a node belongs to; compared by address only.
struct KORDOMOwner {};
using KORDOMOwnerRef = std::shared_ptr<const KORDOMOwner>;

class KORDOMTreeNode {
public:
  KORDOMTreeNode(KORDOMNodeType iType, KORDOMOwnerRef iOwner);
  KORDOMTreeNode(const KORDOMTreeNode&) = delete;
  KORDOMTreeNode& operator=(const KORDOMTreeNode&) = delete;
  virtual ~KORDOMTreeNode();

  // The tree node behind iNode; null for a node of another implementation.
  static KORDOMTreeNode* From(KORIDOMNode* iNode);

  KORDOMNodeType Type() const { return _type; }
  virtual KORUnicodeString Name() const = 0;
  // A child as the interface that holds it and as its tree node, so that
  // walking the tree needs no cast.
  struct Child {
    KORIDOMNode_var face;
    KORDOMTreeNode* node;
  };
  const std::vector<Child>& Children() const { return _children; }
  bool BelongsTo(const KORDOMOwnerRef& iOwner) const { return _owner && _owner == iOwner; }

  HRESULT Append(KORIDOMNode* iChild, KORIDOMNode** oAppended);

protected:
  // The interface through which this node is held.
  virtual KORIDOMNode* Face() = 0;
  // Whether iChild may join the children, iChild itself left aside when it
  // is already one of them.
  virtual bool Accepts(const KORDOMTreeNode& iChild) const = 0;
  bool HasOtherChild(KORDOMNodeType iType, const KORDOMTreeNode& iExcept) const;
  const KORDOMOwnerRef& Owner() const { return _owner; }
  void SetOwner(KORDOMOwnerRef iOwner) { _owner = std::move(iOwner); }

private:
  bool IsSelfOrAncestorOf(const KORDOMTreeNode& iNode) const;
  void RemoveChild(KORDOMTreeNode& iChild);

  KORDOMNodeType _type;
  KORDOMOwnerRef _owner;
  KORDOMTreeNode* _parent = nullptr;
  std::vector<Child> _children;
};

// The KORIDOMNode operations, common to the four kinds of node.
template <class Interface>
class KORDOMNode : public KORDOMObject<Interface>, public KORDOMTreeNode {
public:
  using KORDOMTreeNode::KORDOMTreeNode;

  HRESULT AppendChild(KORIDOMNode* iChild, KORIDOMNode** oAppended) override {
    return Append(iChild, oAppended);
  }
  HRESULT GetNodeType(KORDOMNodeType& oType) override {
    oType = Type();
    return S_OK;
  }
  HRESULT GetNodeName(KORUnicodeString& oName) override {
    oName = Name();
    return S_OK;
  }

protected:
  KORIDOMNode* Face() override { return this; }
};

class KORDOMDocumentTypeNode final : public KORDOMNode<KORIDOMDocumentType> {
public:
  KORDOMDocumentTypeNode(KORUnicodeString iName, KORUnicodeString iPublicId,
                         KORUnicodeString iSystemId);

  KORUnicodeString Name() const override { return _name; }
  const KORUnicodeString& PublicId() const { return _publicId; }
  const KORUnicodeString& SystemId() const { return _systemId; }
  // Gives the document type to the document of iOwner; false when it already
  // belongs to a document.
  bool JoinDocument(KORDOMOwnerRef iOwner);

  HRESULT GetPublicId(KORUnicodeString& oPublicId) override;
  HRESULT GetSystemId(KORUnicodeString& oSystemId) override;

private:
  bool Accepts(const KORDOMTreeNode&) const override { return false; }

  KORUnicodeString _name, _publicId, _systemId;
};

class KORDOMElementNode final : public KORDOMNode<KORIDOMElement> {
public:
  using Attribute = std::pair<KORUnicodeString, KORUnicodeString>;

  KORDOMElementNode(KORDOMOwnerRef iOwner, KORUnicodeString iTagName);

  KORUnicodeString Name() const override { return _tagName; }
  const KORUnicodeString& TagName() const { return _tagName; }
  const std::vector<Attribute>& Attributes() const { return _attributes; }

  HRESULT SetAttribute(const KORUnicodeString& iName, const KORUnicodeString& iValue) override;
  HRESULT GetAttribute(const KORUnicodeString& iName, KORUnicodeString& oValue) override;
  HRESULT GetTagName(KORUnicodeString& oTagName) override;

private:
  bool Accepts(const KORDOMTreeNode& iChild) const override;
  std::vector<Attribute>::iterator FindAttribute(const KORUnicodeString& iName);

  KORUnicodeString _tagName;
  std::vector<Attribute> _attributes;
};

class KORDOMCDATASectionNode final : public KORDOMNode<KORIDOMCDATASection> {
public:
  KORDOMCDATASectionNode(KORDOMOwnerRef iOwner, KORUnicodeString iData);

  KORUnicodeString Name() const override { return "#cdata-section"; }
  const KORUnicodeString& Data() const { return _data; }

  HRESULT GetData(KORUnicodeString& oData) override;

private:
  bool Accepts(const KORDOMTreeNode&) const override { return false; }

  KORUnicodeString _data;
};

class KORDOMDocumentNode final : public KORDOMNode<KORIDOMDocument> {
public:
  KORDOMDocumentNode();

  KORUnicodeString Name() const override { return "#document"; }
  // Makes iDocType this document's own, ready to be appended to it.
  HRESULT TakeDocumentType(KORDOMDocumentTypeNode& iDocType);

  HRESULT CreateElement(const KORUnicodeString& iTagName, KORIDOMElement** oElement) override;
  HRESULT CreateCDATASection(const KORUnicodeString& iData,
                             KORIDOMCDATASection** oSection) override;
  HRESULT GetDocumentElement(KORIDOMElement** oElement) override;

private:
  bool Accepts(const KORDOMTreeNode& iChild) const override;
};

// Whether iName is an XML name. Bytes of multi-byte UTF-8 characters are
// taken as name characters.
bool KORDOMIsXMLName(const KORUnicodeString& iName);
// iText up to its first NUL character, which XML cannot carry.
KORUnicodeString KORDOMTextBeforeNul(const KORUnicodeString& iText);
