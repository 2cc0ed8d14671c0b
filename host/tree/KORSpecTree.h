#pragma once
// The specification tree: nodes built from the objects' navigation
// (KORINavigateObject: a label and children in order), kept up to date by
// the model events. An object without navigation is a leaf labelled with its
// name (KORObjectName).
//
// The tree listens to the document's root container and to every object it
// shows. A change updates that object's nodes, a creation its father's, a
// deletion the father's of the deleted object, each through its node
// extension (KORNavigNode.h); an updated node re-reads its label and
// children when the tree is next shown, and the rest of the tree is kept as
// it is. A plain object, owned like the visualization manager.
#include "objectmodel/KORPathElement.h"
#include "tree/KORNavigNode.h"

#include <map>
#include <memory>
#include <ostream>
#include <vector>

class KORDocument;
class KORIModelEvents;
class KORNotification;

class KORSpecTree {
public:
  // An object shown in two places (a view under its window and under the
  // graphic specifications) has a node in each.
  using Node = KORNavigInstance;

  KORSpecTree();
  ~KORSpecTree();
  KORSpecTree(const KORSpecTree&) = delete;
  KORSpecTree& operator=(const KORSpecTree&) = delete;

  // Shows iRoot's tree and follows iDocument's model events. A pick's path
  // starts with iPrefix (the document's first root and the containers above
  // iRoot).
  HRESULT Attach(KORDocument* iDocument, KORBaseUnknown* iRoot, KORPathElement iPrefix = {});
  void Detach();

  // The root node, brought up to date.
  const Node* GetRoot();
  // Prints the labels, indented by two spaces a level.
  void Print(std::ostream& oStream);
  // How many times iObject's node read its label and children.
  int GetReadCount(KORBaseUnknown* iObject) const;
  // The first node showing iObject, depth first (null when not shown).
  const Node* Find(KORBaseUnknown* iObject);

  // A person picks iNode: the path the command agents receive. The object's
  // KORINavigateObjectModify gives it when it has one; otherwise it is the
  // prefix followed by the objects from the top node down to iNode.
  HRESULT Pick(const Node& iNode, KORPathElement& oPath) const;

private:
  struct Watch;
  std::unique_ptr<Node> Make(KORBaseUnknown* iObject, Node* iFather);
  void Read(Node& ioNode);
  void Refresh(Node& ioNode);
  void Forget(Node& ioNode);
  void Update(KORBaseUnknown* iObject, bool iFathers);
  void OnEvent(const KORNotification& iEvent);

  // The nodes of each object shown, and the listener on its events.
  std::map<const KORBaseUnknown*, std::unique_ptr<Watch>> _watches;
  std::unique_ptr<Node> _root;
  KORPathElement _prefix;
  KORSmartPtr<KORIModelEvents> _rootEvents;
  int _listener = 0;
};
