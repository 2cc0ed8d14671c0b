#pragma once
// Selection-driven editing of features: removal of a selection (the part of
// cut and paste this platform offers so far), the selection itself and the
// filter through which an object accepts or refuses a selection command.
#include "objectmodel/KORExtension.h"
#include "system/KORList.h"

// The current selection: the objects a command works on.
class KORCSO {
public:
  void Add(KORBaseUnknown* iObject) { _objects.Append(KORBaseUnknown_var(iObject)); }
  const KORListValKORBaseUnknown_var& Objects() const { return _objects; }

private:
  KORListValKORBaseUnknown_var _objects;
};

class KORICutAndPastable : public KORBaseUnknown {
  KOR_INTERFACE(KORICutAndPastable, KORBaseUnknown)
public:
  // ioObjects plus every feature they aggregate, each once, fathers first.
  [[nodiscard]] virtual HRESULT BoundaryRemove(KORListValKORBaseUnknown_var& ioObjects) = 0;
  // Removes the objects (LifeCycleObject::remove), skipping those already gone.
  [[nodiscard]] virtual HRESULT Remove(KORListValKORBaseUnknown_var& iObjects) = 0;
};

class KORICSOFilter : public KORBaseUnknown {
  KOR_INTERFACE(KORICSOFilter, KORBaseUnknown)
public:
  // S_OK when the object accepts command iCommandName on iSelection.
  [[nodiscard]] virtual HRESULT CommandIsAvailable(const char* iCommandName,
                                                   const KORCSO* iSelection) = 0;
  [[nodiscard]] virtual HRESULT AvailableElements(const char* iCommandName,
                                                  const KORCSO* iSelection,
                                                  KORListValKORBaseUnknown_var** oElements) = 0;
};

// The platform's standard removal of selected features, for extensions that
// add behaviour of their own around it.
HRESULT KORStandardBoundaryRemove(KORListValKORBaseUnknown_var& ioObjects);
HRESULT KORStandardRemoveObjects(KORListValKORBaseUnknown_var& iObjects);

class KORStandardCutAndPastable : public KORExtensionOf<KORICutAndPastable> {
public:
  HRESULT BoundaryRemove(KORListValKORBaseUnknown_var& ioObjects) override {
    return KORStandardBoundaryRemove(ioObjects);
  }
  HRESULT Remove(KORListValKORBaseUnknown_var& iObjects) override {
    return KORStandardRemoveObjects(iObjects);
  }
};
