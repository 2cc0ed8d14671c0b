#include "xml/KORDOMNodes.h"

#include <algorithm>
#include <typeinfo>

namespace {

bool IsNameStart(unsigned char iByte) {
  return (iByte >= 'A' && iByte <= 'Z') || (iByte >= 'a' && iByte <= 'z') || iByte == '_' ||
         iByte == ':' || iByte >= 0x80;
}

bool IsNameCharacter(unsigned char iByte) {
  return IsNameStart(iByte) || (iByte >= '0' && iByte <= '9') || iByte == '-' || iByte == '.';
}

// Fills an out-pointer with a new node, which the out-pointer then owns.
template <class I, class Node> HRESULT ReturnNew(Node* iNode, I** oNode) {
  return KORReturn(KORSmartPtr<I>(iNode), oNode);
}

} // namespace

bool KORDOMIsXMLName(const KORUnicodeString& iName) {
  if (iName.empty() || !IsNameStart(static_cast<unsigned char>(iName.front())))
    return false;
  return std::all_of(iName.begin(), iName.end(),
                     [](char iByte) { return IsNameCharacter(static_cast<unsigned char>(iByte)); });
}

KORUnicodeString KORDOMTextBeforeNul(const KORUnicodeString& iText) {
  return iText.substr(0, iText.find('\0'));
}

// ---------------------------------------------------------------------------

KORDOMTreeNode::KORDOMTreeNode(KORDOMNodeType iType, KORDOMOwnerRef iOwner)
    : _type(iType), _owner(std::move(iOwner)) {}

KORDOMTreeNode::~KORDOMTreeNode() {
  // Children outliving us through other references must not point back here.
  for (const Child& child : _children)
    child.node->_parent = nullptr;
}

KORDOMTreeNode* KORDOMTreeNode::From(KORIDOMNode* iNode) {
  // The four node classes are final: comparing the dynamic type is much
  // cheaper than the cross-cast, and every appended child comes through here.
  if (!iNode)
    return nullptr;
  const std::type_info& type = typeid(*iNode);
  if (type == typeid(KORDOMElementNode))
    return static_cast<KORDOMElementNode*>(iNode);
  if (type == typeid(KORDOMCDATASectionNode))
    return static_cast<KORDOMCDATASectionNode*>(iNode);
  if (type == typeid(KORDOMDocumentTypeNode))
    return static_cast<KORDOMDocumentTypeNode*>(iNode);
  if (type == typeid(KORDOMDocumentNode))
    return static_cast<KORDOMDocumentNode*>(iNode);
  return nullptr;
}

HRESULT KORDOMTreeNode::Append(KORIDOMNode* iChild, KORIDOMNode** oAppended) {
  KORDOMTreeNode* child = From(iChild);
  if (!child || !child->BelongsTo(_owner))
    return E_INVALIDARG;
  if (child->IsSelfOrAncestorOf(*this) || !Accepts(*child))
    return E_FAIL;
  // Held here so that leaving its former parent cannot free it.
  KORIDOMNode_var held(child->Face());
  if (child->_parent)
    child->_parent->RemoveChild(*child);
  _children.push_back({held, child});
  child->_parent = this;
  if (oAppended)
    *oAppended = held.Detach();
  return S_OK;
}

bool KORDOMTreeNode::HasOtherChild(KORDOMNodeType iType, const KORDOMTreeNode& iExcept) const {
  return std::any_of(_children.begin(), _children.end(), [&](const Child& iChild) {
    return iChild.node != &iExcept && iChild.node->Type() == iType;
  });
}

bool KORDOMTreeNode::IsSelfOrAncestorOf(const KORDOMTreeNode& iNode) const {
  for (const KORDOMTreeNode* node = &iNode; node; node = node->_parent)
    if (node == this)
      return true;
  return false;
}

void KORDOMTreeNode::RemoveChild(KORDOMTreeNode& iChild) {
  std::erase_if(_children, [&](const Child& iEntry) { return iEntry.node == &iChild; });
  iChild._parent = nullptr;
}

// ---------------------------------------------------------------------------

KORDOMDocumentTypeNode::KORDOMDocumentTypeNode(KORUnicodeString iName, KORUnicodeString iPublicId,
                                               KORUnicodeString iSystemId)
    : KORDOMNode(KORDOMNodeType::DocumentType, nullptr), _name(std::move(iName)),
      _publicId(std::move(iPublicId)), _systemId(std::move(iSystemId)) {}

bool KORDOMDocumentTypeNode::JoinDocument(KORDOMOwnerRef iOwner) {
  if (Owner())
    return false;
  SetOwner(std::move(iOwner));
  return true;
}

HRESULT KORDOMDocumentTypeNode::GetPublicId(KORUnicodeString& oPublicId) {
  oPublicId = _publicId;
  return S_OK;
}

HRESULT KORDOMDocumentTypeNode::GetSystemId(KORUnicodeString& oSystemId) {
  oSystemId = _systemId;
  return S_OK;
}

// ---------------------------------------------------------------------------

KORDOMElementNode::KORDOMElementNode(KORDOMOwnerRef iOwner, KORUnicodeString iTagName)
    : KORDOMNode(KORDOMNodeType::Element, std::move(iOwner)), _tagName(std::move(iTagName)) {}

HRESULT KORDOMElementNode::SetAttribute(const KORUnicodeString& iName,
                                        const KORUnicodeString& iValue) {
  if (!KORDOMIsXMLName(iName))
    return E_INVALIDARG;
  KORUnicodeString value = KORDOMTextBeforeNul(iValue);
  if (auto existing = FindAttribute(iName); existing != _attributes.end()) {
    existing->second = std::move(value);
    return S_OK;
  }
  // Room for the attributes of a typical element at once, rather than
  // moving them all at each doubling.
  constexpr std::size_t kTypicalAttributes = 10;
  if (_attributes.empty())
    _attributes.reserve(kTypicalAttributes);
  _attributes.emplace_back(iName, std::move(value));
  return S_OK;
}

HRESULT KORDOMElementNode::GetAttribute(const KORUnicodeString& iName, KORUnicodeString& oValue) {
  const auto existing = FindAttribute(iName);
  if (existing == _attributes.end()) {
    oValue.clear();
    return S_FALSE;
  }
  oValue = existing->second;
  return S_OK;
}

HRESULT KORDOMElementNode::GetTagName(KORUnicodeString& oTagName) {
  oTagName = _tagName;
  return S_OK;
}

bool KORDOMElementNode::Accepts(const KORDOMTreeNode& iChild) const {
  return iChild.Type() == KORDOMNodeType::Element || iChild.Type() == KORDOMNodeType::CDATASection;
}

std::vector<KORDOMElementNode::Attribute>::iterator
KORDOMElementNode::FindAttribute(const KORUnicodeString& iName) {
  return std::find_if(_attributes.begin(), _attributes.end(),
                      [&](const Attribute& iAttribute) { return iAttribute.first == iName; });
}

// ---------------------------------------------------------------------------

KORDOMCDATASectionNode::KORDOMCDATASectionNode(KORDOMOwnerRef iOwner, KORUnicodeString iData)
    : KORDOMNode(KORDOMNodeType::CDATASection, std::move(iOwner)), _data(std::move(iData)) {}

HRESULT KORDOMCDATASectionNode::GetData(KORUnicodeString& oData) {
  oData = _data;
  return S_OK;
}

// ---------------------------------------------------------------------------

KORDOMDocumentNode::KORDOMDocumentNode()
    : KORDOMNode(KORDOMNodeType::Document, std::make_shared<const KORDOMOwner>()) {}

HRESULT KORDOMDocumentNode::TakeDocumentType(KORDOMDocumentTypeNode& iDocType) {
  return iDocType.JoinDocument(Owner()) ? S_OK : E_INVALIDARG;
}

HRESULT KORDOMDocumentNode::CreateElement(const KORUnicodeString& iTagName,
                                          KORIDOMElement** oElement) {
  if (!oElement)
    return E_INVALIDARG;
  *oElement = nullptr;
  if (!KORDOMIsXMLName(iTagName))
    return E_INVALIDARG;
  return ReturnNew(new KORDOMElementNode(Owner(), iTagName), oElement);
}

HRESULT KORDOMDocumentNode::CreateCDATASection(const KORUnicodeString& iData,
                                               KORIDOMCDATASection** oSection) {
  if (!oSection)
    return E_INVALIDARG;
  return ReturnNew(new KORDOMCDATASectionNode(Owner(), KORDOMTextBeforeNul(iData)), oSection);
}

HRESULT KORDOMDocumentNode::GetDocumentElement(KORIDOMElement** oElement) {
  if (!oElement)
    return E_INVALIDARG;
  *oElement = nullptr;
  for (const Child& child : Children())
    if (child.node->Type() == KORDOMNodeType::Element)
      return KORReturn(KORQuery<KORIDOMElement>(child.face), oElement);
  return E_FAIL;
}

bool KORDOMDocumentNode::Accepts(const KORDOMTreeNode& iChild) const {
  const KORDOMNodeType type = iChild.Type();
  return (type == KORDOMNodeType::Element || type == KORDOMNodeType::DocumentType) &&
         !HasOtherChild(type, iChild);
}
