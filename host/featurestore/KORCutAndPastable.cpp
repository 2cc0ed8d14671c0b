#include "featurestore/KORFeature.h"
#include "featurestore/KORICutAndPastable.h"
#include "featurestore/KORLifeCycleObject.h"

#include <algorithm>

HRESULT KORStandardBoundaryRemove(KORListValKORBaseUnknown_var& ioObjects) {
  std::vector<KORFeature*> boundary;
  auto collect = [&](auto& self, KORFeature* iFeature) -> void {
    if (std::find(boundary.begin(), boundary.end(), iFeature) != boundary.end())
      return;
    boundary.push_back(iFeature);
    for (KORFeature* child : iFeature->Children())
      self(self, child);
  };
  for (const KORBaseUnknown_var& object : ioObjects)
    if (KORFeature* feature = KORFeature::From(object))
      collect(collect, feature);
  ioObjects.RemoveAll();
  for (KORFeature* feature : boundary)
    ioObjects.Append(KORBaseUnknown_var(feature->Identity()));
  return S_OK;
}

HRESULT KORStandardRemoveObjects(KORListValKORBaseUnknown_var& iObjects) {
  HRESULT result = S_OK;
  for (const KORBaseUnknown_var& object : iObjects) {
    if (KORModelObject::IsDeadObject(object))
      continue;
    auto lifeCycle = KORQuery<LifeCycleObject>(object);
    if (!lifeCycle || FAILED(lifeCycle->remove()))
      result = E_FAIL;
  }
  return result;
}
