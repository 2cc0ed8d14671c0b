#pragma once
// The specification tree: nodes built from the objects' navigation
// (KORINavigateObject: a label and children in order), kept up to date by
// the model events. An object without navigation is a leaf labelled with its
// name (KORObjectName).
//
// The tree listens to the document's root container and to every object it
// shows. A change re-reads that object's label and children, a creation its
// father's, a deletion the father's of the deleted object; the rest of the
// tree is kept as it is. A plain object, owned like the visualization manager.
#include "system/KORList.h"

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
  struct Node {
    KORBaseUnknown_var object;
    KORUnicodeString label;
    std::vector<std::unique_ptr<Node>> children;
    Node* father = nullptr;
    bool stale = true;
  };

  KORSpecTree();
  ~KORSpecTree();
  KORSpecTree(const KORSpecTree&) = delete;
  KORSpecTree& operator=(const KORSpecTree&) = delete;

  // Shows iRoot's tree and follows iDocument's model events.
  HRESULT Attach(KORDocument* iDocument, KORBaseUnknown* iRoot);
  void Detach();

  // The root node, brought up to date.
  const Node* GetRoot();
  // Prints the labels, indented by two spaces a level.
  void Print(std::ostream& oStream);
  // How many times iObject's node read its label and children.
  int GetReadCount(KORBaseUnknown* iObject) const;

private:
  struct Watch;
  std::unique_ptr<Node> Make(KORBaseUnknown* iObject, Node* iFather);
  void Read(Node& ioNode);
  void Refresh(Node& ioNode);
  void Forget(Node& ioNode);
  void MarkStale(KORBaseUnknown* iObject, bool iFathers);
  void OnEvent(const KORNotification& iEvent);

  // The nodes of each object shown, and the listener on its events.
  std::map<const KORBaseUnknown*, std::unique_ptr<Watch>> _watches;
  std::unique_ptr<Node> _root;
  KORSmartPtr<KORIModelEvents> _rootEvents;
  int _listener = 0;
};
