#include "tree/KORNavigNode.h"

#include "objectmodel/KORImplementation.h"
#include "objectmodel/KORLateType.h"

#include <string>

namespace {
class KORGraphNode final : public KORImplementationOf<KORGraphNode, KORIGraphNode> {
public:
  KORGraphNode(std::string_view iLateType, KORNavigInstance& iInstance)
      : KORImplementationOf(iLateType), _instance(&iInstance) {}

  HRESULT Update(int iMode) override {
    if (!_instance)
      return E_FAIL;
    if (iMode == 0)
      _instance->stale = true;
    return S_OK;
  }
  KORNavigInstance* GetInstance() override { return _instance; }
  void Forget() { _instance = nullptr; }

private:
  KORNavigInstance* _instance;
};

constexpr const char* kNodeSuffix = "_node";

// The node type of iType, declared with the node types of iType's ancestors
// as its ancestors.
std::string NodeTypeOf(const KORLateType* iType) {
  if (!iType)
    return kNodeSuffix;
  const std::string name = iType->Name() + kNodeSuffix;
  if (const KORLateType* parent = iType->Parent()) {
    KORIgnoreResult(KORLateType::Declare(name, NodeTypeOf(parent)),
                    "a node type declared with another parent keeps it");
  }
  return name;
}

KORNavigInstance* InstanceOf(const KORExtension& iExtension) {
  auto node = KORQuery<KORIGraphNode>(iExtension.GetImpl());
  return node ? node->GetInstance() : nullptr;
}
} // namespace

KORNavigInstance::KORNavigInstance() = default;

KORNavigInstance::~KORNavigInstance() {
  KORForgetGraphNode(graphNode.get());
}

KORIGraphNode_var KORMakeGraphNode(KORNavigInstance& iInstance, const KORLateType* iObjectType) {
  return KORIGraphNode_var(new KORGraphNode(NodeTypeOf(iObjectType), iInstance));
}

void KORForgetGraphNode(KORIGraphNode* iNode) {
  if (auto* node = KORGetImplementationAs<KORGraphNode>(iNode))
    node->Forget();
}

HRESULT KORUpdateNavigInstance(KORNavigInstance& iInstance) {
  if (!iInstance.graphNode)
    return E_FAIL;
  if (auto modify = KORQuery<KORINavigModify>(iInstance.graphNode.get()))
    return modify->UpdateElem(&iInstance);
  return iInstance.graphNode->Update(0);
}

HRESULT KORNodeExtension::UpdateElem(KORNavigInstance* iInstance) {
  if (!iInstance)
    return S_OK;
  auto node = QueryImpl<KORIGraphNode>();
  return node ? node->Update(0) : E_FAIL;
}

namespace {
using Flag = bool KORNavigInstance::*;
HRESULT SetFlag(const KORExtension& iExtension, Flag iFlag, bool iValue) {
  KORNavigInstance* instance = InstanceOf(iExtension);
  if (!instance)
    return E_FAIL;
  instance->*iFlag = iValue;
  return S_OK;
}
bool GetFlag(const KORExtension& iExtension, Flag iFlag) {
  KORNavigInstance* instance = InstanceOf(iExtension);
  return instance && instance->*iFlag;
}
} // namespace

HRESULT KORNodeExtension::Select(bool iSelected) {
  return SetFlag(*this, &KORNavigInstance::selected, iSelected);
}

bool KORNodeExtension::IsSelected() {
  return GetFlag(*this, &KORNavigInstance::selected);
}

HRESULT KORNodeExtension::ProcessAfterExpand() {
  return SetFlag(*this, &KORNavigInstance::expanded, !GetFlag(*this, &KORNavigInstance::expanded));
}

HRESULT KORNodeExtension::GetFatherContainer(KORBaseUnknown** oFather) {
  if (!oFather)
    return E_INVALIDARG;
  *oFather = nullptr;
  KORNavigInstance* instance = InstanceOf(*this);
  if (!instance || !instance->father || !instance->father->object)
    return E_FAIL;
  *oFather = instance->father->object.get();
  (*oFather)->AddRef();
  return S_OK;
}

KORNavigInstance* KORNodeExtension::GetAssociatedInstance() {
  return InstanceOf(*this);
}

HRESULT KORNodeExtension::SetMarked(bool iMarked) {
  return SetFlag(*this, &KORNavigInstance::marked, iMarked);
}

bool KORNodeExtension::GetMarked() {
  return GetFlag(*this, &KORNavigInstance::marked);
}
