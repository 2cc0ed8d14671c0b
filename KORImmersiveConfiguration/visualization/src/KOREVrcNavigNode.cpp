#include "KOREVrcNavigNode.h"

#include "KORVrcTrace.h"
#include "command/KORCommandEnvironment.h"
#include "command/KORFrmEditor.h"
#include "featurestore/KORIDocRoots.h"
#include "featurestore/KORISpecObject.h"

#include <vector>

template <const char* ClassName>
HRESULT KOREVrcNode<ClassName>::UpdateElem(KORNavigInstance* iInstance) {
  const KORTrace trace(KORVrcViewTraceName);
  trace.Printf("Entering %s::UpdateElem(KORNavigInstance*  inst)", ClassName);
  HRESULT result = S_OK;
  if (iInstance) {
    auto node = QueryImpl<KORIGraphNode>();
    if (node)
      result = node->Update(0);
  }
  trace.Printf("Exiting %s::UpdateElem(KORNavigInstance*  inst)", ClassName);
  return result;
}

template class KOREVrcNode<KORVrcNodeNames::ButtonDevice>;
template class KOREVrcNode<KORVrcNodeNames::Config>;
template class KOREVrcNode<KORVrcNodeNames::Devices>;
template class KOREVrcNode<KORVrcNodeNames::GraphicResources>;
template class KOREVrcNode<KORVrcNodeNames::GraphicSpecs>;
template class KOREVrcNode<KORVrcNodeNames::HandDevice>;
template class KOREVrcNode<KORVrcNodeNames::Head>;
template class KOREVrcNode<KORVrcNodeNames::IG>;
template class KOREVrcNode<KORVrcNodeNames::Tracker>;
template class KOREVrcNode<KORVrcNodeNames::TrackingStation>;
template class KOREVrcNode<KORVrcNodeNames::View>;
template class KOREVrcNode<KORVrcNodeNames::Window>;

namespace {
// The first root of the current editor's document, or null.
KORBaseUnknown_var FirstDocumentRoot() {
  KORCommandEnvironment* environment = KORCommandEnvironment::Current();
  KORFrmEditor* editor = environment ? environment->GetCurrentEditor() : nullptr;
  auto roots = KORQuery<KORIDocRoots>(editor ? editor->GetDocument() : nullptr);
  KOROwnedList listed(roots ? roots->GiveDocRoots() : nullptr);
  if (!listed || listed->IsEmpty())
    return {};
  return (*listed)[1];
}
} // namespace

KORPathElement* KOREVrcNavigateModifyOnView::DecodeSentCommand(unsigned char& oDecodeNextElement) {
  oDecodeNextElement = 0;
  KORBaseUnknown_var root = FirstDocumentRoot();
  if (!root)
    return nullptr;
  // Walk up the father chain, each feature going in front of those below.
  std::vector<KORBaseUnknown_var> fromView;
  KORISpecObject_var feature = QueryImpl<KORISpecObject>();
  while (feature) {
    fromView.push_back(KORQuery<KORBaseUnknown>(feature));
    KORISpecObject_var father;
    if (FAILED(feature->GetFather(father.Out())))
      break;
    feature = father;
  }
  auto* path = new KORPathElement{root.get()};
  for (auto object = fromView.rbegin(); object != fromView.rend(); ++object)
    path->Append(object->get());
  return path;
}
