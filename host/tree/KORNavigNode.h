#pragma once
// The nodes of the specification tree.
//
// A navigation instance is the tree's node at one place: an object shown
// under a father, with its label and children. Each instance has a graph
// node, a host component whose late type is the shown feature's type with
// "_node" appended ("KORFeature_node"); node types derive as their features'
// types do (a type a module declared keeps its parent), so that an extension
// attached to the node type of a kind also serves the kinds derived from it. The tree asks the graph node for KORINavigModify and runs its
// UpdateElem when the object's model events say it changed; the graph node's
// own update (KORIGraphNode::Update) marks the instance to be read again.
// KORNodeExtension is the base of node extensions: everything but
// UpdateElem, which a module may override, is the host's.
#include "objectmodel/KORExtension.h"
#include "system/KORList.h"

#include <memory>
#include <vector>

class KORIGraphNode;
class KORLateType;

struct KORNavigInstance {
  KORNavigInstance();
  ~KORNavigInstance();
  KORNavigInstance(const KORNavigInstance&) = delete;
  KORNavigInstance& operator=(const KORNavigInstance&) = delete;

  KORBaseUnknown_var object;
  KORUnicodeString label;
  std::vector<std::unique_ptr<KORNavigInstance>> children;
  KORNavigInstance* father = nullptr;
  KORSmartPtr<KORIGraphNode> graphNode;
  bool stale = true; // label and children to be read again
  bool selected = false;
  bool expanded = false;
  bool marked = false;
};

class KORIGraphNode : public KORBaseUnknown {
  KOR_INTERFACE(KORIGraphNode, KORBaseUnknown)
public:
  // Brings the node in line with its object; mode 0 re-reads its label and
  // children when the tree is next shown.
  virtual HRESULT Update(int iMode) = 0;
  // The instance the node draws, null once the instance is gone.
  virtual KORNavigInstance* GetInstance() = 0;
};
KOR_DECLARE_VAR(KORIGraphNode)

// The graph node of iInstance, of late type iObjectType + "_node" (declared,
// with its ancestors, on first use). The node does not own the instance.
KORIGraphNode_var KORMakeGraphNode(KORNavigInstance& iInstance, const KORLateType* iObjectType);
// The instance stops being drawn by iNode (it is being destroyed).
void KORForgetGraphNode(KORIGraphNode* iNode);

class KORINavigModify : public KORBaseUnknown {
  KOR_INTERFACE(KORINavigModify, KORBaseUnknown)
public:
  // iInstance's object changed: update the node (nothing for null).
  virtual HRESULT UpdateElem(KORNavigInstance* iInstance) = 0;
  // The tooltip of the node; ioHelp comes in as the tree's own.
  virtual HRESULT ModifyShortHelp(KORUnicodeString& ioHelp) = 0;
  virtual HRESULT Select(bool iSelected) = 0;
  virtual bool IsSelected() = 0;
};
KOR_DECLARE_VAR(KORINavigModify)

class KORINavigElement : public KORBaseUnknown {
  KOR_INTERFACE(KORINavigElement, KORBaseUnknown)
public:
  // A person selected the node alone, or added it to (or took it from) the
  // selection.
  virtual HRESULT ProcessAfterSelect() = 0;
  virtual HRESULT ProcessAfterExtSelect() = 0;
  // A person opened or closed the node.
  virtual HRESULT ProcessAfterExpand() = 0;
  // The object of the father node (one reference), E_FAIL at the top.
  virtual HRESULT GetFatherContainer(KORBaseUnknown** oFather) = 0;
  virtual HRESULT Update() = 0;
  virtual KORNavigInstance* GetAssociatedInstance() = 0;
  virtual HRESULT SetMarked(bool iMarked) = 0;
  virtual bool GetMarked() = 0;
};
KOR_DECLARE_VAR(KORINavigElement)

class KORNodeExtension : public KORExtensionOf<KORINavigModify, KORINavigElement> {
public:
  // The host's update: the graph node re-reads the instance.
  HRESULT UpdateElem(KORNavigInstance* iInstance) override;
  HRESULT ModifyShortHelp(KORUnicodeString&) override { return S_OK; }
  HRESULT Select(bool iSelected) override;
  bool IsSelected() override;
  HRESULT ProcessAfterSelect() override { return Select(true); }
  HRESULT ProcessAfterExtSelect() override { return Select(!IsSelected()); }
  HRESULT ProcessAfterExpand() override;
  HRESULT GetFatherContainer(KORBaseUnknown** oFather) override;
  HRESULT Update() override { return UpdateElem(GetAssociatedInstance()); }
  KORNavigInstance* GetAssociatedInstance() override;
  HRESULT SetMarked(bool iMarked) override;
  bool GetMarked() override;
};

// Updates iInstance's node: through its node extension when it has one,
// else through the graph node itself.
HRESULT KORUpdateNavigInstance(KORNavigInstance& iInstance);
