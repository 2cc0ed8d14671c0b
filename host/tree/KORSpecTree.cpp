#include "tree/KORSpecTree.h"

#include "featurestore/KORDocument.h"
#include "featurestore/KORIModelEvents.h"
#include "featurestore/KORISpecAttrAccess.h"
#include "featurestore/KORISpecObject.h"
#include "featurestore/KORNotificationDispatcher.h"
#include "tree/KORINavigateObject.h"
#include "tree/KORINavigateObjectModify.h"
#include "tree/KORObjectName.h"

#include "objectmodel/KORImplementation.h"

#include <algorithm>

std::string KORObjectName(KORBaseUnknown* iObject) {
  KORUnicodeString name;
  auto attributes = KORQuery<KORISpecAttrAccess>(iObject);
  if (attributes && attributes->HasAttribute("Name") &&
      SUCCEEDED(attributes->GetString("Name", name)) && !name.empty())
    return name;
  auto feature = KORQuery<KORISpecObject>(iObject);
  if (!feature)
    return {};
  if (SUCCEEDED(feature->GetFeatureName(name)) && !name.empty())
    return name;
  return feature->GetTypeName();
}

struct KORSpecTree::Watch {
  std::vector<Node*> nodes;
  int reads = 0;
  KORIModelEvents_var events;
  int listener = 0;
};

KORSpecTree::KORSpecTree() = default;

KORSpecTree::~KORSpecTree() {
  Detach();
}

HRESULT KORSpecTree::Attach(KORDocument* iDocument, KORBaseUnknown* iRoot, KORPathElement iPrefix) {
  Detach();
  KORBaseUnknown_var root;
  if (!iDocument || !iRoot || FAILED(iDocument->GetRootContainer(root.Out())))
    return E_FAIL;
  _rootEvents = KORQuery<KORIModelEvents>(root);
  if (!_rootEvents || !_rootEvents->GetDispatcher())
    return E_FAIL;
  _listener = _rootEvents->GetDispatcher()->AddListener(
      [this](const KORNotification& iEvent) { OnEvent(iEvent); });
  _prefix = std::move(iPrefix);
  _root = Make(iRoot, nullptr);
  return S_OK;
}

void KORSpecTree::Detach() {
  if (_rootEvents)
    _rootEvents->GetDispatcher()->RemoveListener(_listener);
  _rootEvents.reset();
  if (_root)
    Forget(*_root);
  _root.reset();
}

std::unique_ptr<KORSpecTree::Node> KORSpecTree::Make(KORBaseUnknown* iObject, Node* iFather) {
  auto node = std::make_unique<Node>();
  node->object = KORQuery<KORBaseUnknown>(iObject);
  node->father = iFather;
  const KORImplementation* implementation = KORGetImplementation(node->object.get());
  node->graphNode =
      KORMakeGraphNode(*node, implementation ? implementation->GetLateType() : nullptr);
  auto& watch = _watches[node->object.get()];
  if (!watch) {
    watch = std::make_unique<Watch>();
    // Not every object's events climb to the root container: listen to each.
    watch->events = KORQuery<KORIModelEvents>(node->object.get());
    if (watch->events && watch->events->GetDispatcher())
      watch->listener = watch->events->GetDispatcher()->AddListener(
          [this](const KORNotification& iEvent) { OnEvent(iEvent); });
    else
      watch->events.reset();
  }
  watch->nodes.push_back(node.get());
  return node;
}

void KORSpecTree::Forget(Node& ioNode) {
  for (auto& child : ioNode.children)
    Forget(*child);
  auto found = _watches.find(ioNode.object.get());
  if (found == _watches.end())
    return;
  std::erase(found->second->nodes, &ioNode);
  if (found->second->nodes.empty()) {
    if (found->second->events)
      found->second->events->GetDispatcher()->RemoveListener(found->second->listener);
    _watches.erase(found);
  }
}

void KORSpecTree::Read(Node& ioNode) {
  ioNode.stale = false;
  auto watch = _watches.find(ioNode.object.get());
  if (watch != _watches.end())
    ++watch->second->reads;
  std::vector<std::unique_ptr<Node>> previous = std::exchange(ioNode.children, {});
  auto navigation = KORQuery<KORINavigateObject>(ioNode.object.get());
  if (!navigation) {
    ioNode.label = KORObjectName(ioNode.object);
  } else {
    std::unique_ptr<KORListValKORUnicodeString> labels(navigation->GetIdentificators());
    ioNode.label = labels && !labels->IsEmpty() ? (*labels)[1] : KORObjectName(ioNode.object);
    std::unique_ptr<KORListValKORBaseUnknown_var> children(navigation->GetChildren());
    if (children)
      for (const KORBaseUnknown_var& child : *children) {
        if (!child)
          continue;
        // A child still shown keeps its node, and what is known below it.
        auto identity = KORQuery<KORBaseUnknown>(child);
        auto kept = std::find_if(previous.begin(), previous.end(), [&](const auto& iOld) {
          return iOld && iOld->object.get() == identity.get();
        });
        ioNode.children.push_back(kept != previous.end() ? std::move(*kept)
                                                         : Make(child, &ioNode));
      }
  }
  for (auto& old : previous)
    if (old)
      Forget(*old);
}

void KORSpecTree::Refresh(Node& ioNode) {
  if (ioNode.stale)
    Read(ioNode);
  for (auto& child : ioNode.children)
    Refresh(*child);
}

const KORSpecTree::Node* KORSpecTree::GetRoot() {
  if (_root)
    Refresh(*_root);
  return _root.get();
}

void KORSpecTree::Print(std::ostream& oStream) {
  const Node* root = GetRoot();
  auto print = [&](auto& iSelf, const Node& iNode, int iDepth) -> void {
    oStream << std::string(static_cast<std::size_t>(iDepth) * 2, ' ') << iNode.label << '\n';
    for (const auto& child : iNode.children)
      iSelf(iSelf, *child, iDepth + 1);
  };
  if (root)
    print(print, *root, 0);
}

int KORSpecTree::GetReadCount(KORBaseUnknown* iObject) const {
  auto found = _watches.find(KORQuery<KORBaseUnknown>(iObject).get());
  return found == _watches.end() ? 0 : found->second->reads;
}

void KORSpecTree::Update(KORBaseUnknown* iObject, bool iFathers) {
  auto found = _watches.find(KORQuery<KORBaseUnknown>(iObject).get());
  if (found == _watches.end())
    return;
  for (Node* node : found->second->nodes) {
    // An event reaches the tree once per listening object it climbs
    // through: a node already to be read again needs no second update.
    Node* updated = iFathers ? node->father : node;
    if (!updated || updated->stale)
      continue;
    // A node whose update fails is read again all the same.
    if (FAILED(KORUpdateNavigInstance(*updated)))
      updated->stale = true;
  }
}

const KORSpecTree::Node* KORSpecTree::Find(KORBaseUnknown* iObject) {
  auto identity = KORQuery<KORBaseUnknown>(iObject);
  auto search = [&](auto& iSelf, const Node& iNode) -> const Node* {
    if (iNode.object.get() == identity.get())
      return &iNode;
    for (const auto& child : iNode.children)
      if (const Node* found = iSelf(iSelf, *child))
        return found;
    return nullptr;
  };
  const Node* root = GetRoot();
  return root && identity ? search(search, *root) : nullptr;
}

HRESULT KORSpecTree::Pick(const Node& iNode, KORPathElement& oPath) const {
  oPath = {};
  if (auto modify = KORQuery<KORINavigateObjectModify>(iNode.object.get())) {
    unsigned char decodeNext = 1;
    std::unique_ptr<KORPathElement> decoded(modify->DecodeSentCommand(decodeNext));
    if (decoded && !decoded->IsEmpty()) {
      oPath = std::move(*decoded);
      return S_OK;
    }
  }
  std::vector<KORBaseUnknown*> fromTop;
  for (const Node* node = &iNode; node; node = node->father)
    fromTop.insert(fromTop.begin(), node->object.get());
  oPath = _prefix;
  for (KORBaseUnknown* object : fromTop)
    oPath.Append(object);
  return S_OK;
}

void KORSpecTree::OnEvent(const KORNotification& iNotification) {
  const KORModelNotification* event = KORModelNotification::From(iNotification);
  if (!event)
    return;
  switch (event->Kind()) {
  case KORNotificationKind::Modify:
    Update(event->Object(), /*iFathers=*/false);
    break;
  case KORNotificationKind::Create:
    Update(event->Father(), /*iFathers=*/false);
    break;
  case KORNotificationKind::Delete:
    Update(event->Object(), /*iFathers=*/true);
    break;
  }
}
