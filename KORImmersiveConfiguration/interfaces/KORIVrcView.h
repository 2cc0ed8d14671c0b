#pragma once
// A view (a screen view or a camera view) and the head whose eyes it uses.
// SetHead disconnects the previous head from the view, stores the new one and
// connects it to the view, so that a moved head reaches the view; a null head
// fails. Accessors follow the conventions written in KORIVrcElement.h.
#include "interfaces/KORIVrcElement.h"

class KORIVrcHead;

class KORIVrcView : public KORIVrcElement {
  KOR_INTERFACE(KORIVrcView, KORIVrcElement)
public:
  [[nodiscard]] virtual HRESULT GetHead(KORIVrcHead** oHead) = 0;
  [[nodiscard]] virtual HRESULT SetHead(KORIVrcHead* iHead) = 0;
};
KOR_DECLARE_VAR(KORIVrcView)
