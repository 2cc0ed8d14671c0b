#pragma once
// What every configuration element shares: its user-visible name and the
// re-establishment of its model-event connections after a load.
//
// SetName stores the name in the string attribute "Name" (an empty name is
// stored as "Tracking Station"), then notifies a change and redraws the
// element's node; it fails only without attribute access. GetName fails, its
// output unchanged, when the feature or the attribute is missing. Reconnect
// always succeeds.
//
// Accessor conventions of every element interface. Operations return S_OK or
// E_FAIL (to fail means to return E_FAIL, changing nothing):
// - A value getter fails on a null output; where a read default is given the
//   output is set to it first; it fails (keeping the default) when the feature
//   or the attribute is missing.
// - A value setter fails without attribute access; a notifying setter then
//   raises a change notification on the element.
// - A link getter fails on a null output, a missing link or a linked feature
//   that does not answer the wanted interface; it returns a counted reference.
// - A list getter fails on a null output and returns a new list (the caller
//   deletes it) of the listed features answering the kind's interface, in
//   list order.
// - A list adder fails on a null argument or one that is not a feature; it
//   appends, then hooks the new element into the event chain as its interface
//   says and redraws this element's node. A list remover fails only on a null
//   argument; removing an absent element changes nothing.
#include "objectmodel/KORSmartPtr.h"
#include "system/KORString.h"

class KORIVrcElement : public KORBaseUnknown {
  KOR_INTERFACE(KORIVrcElement, KORBaseUnknown)
public:
  [[nodiscard]] virtual HRESULT SetName(const KORUnicodeString& iName) = 0;
  [[nodiscard]] virtual HRESULT GetName(KORUnicodeString& oName) = 0;
  [[nodiscard]] virtual HRESULT Reconnect() = 0;
};
KOR_DECLARE_VAR(KORIVrcElement)
