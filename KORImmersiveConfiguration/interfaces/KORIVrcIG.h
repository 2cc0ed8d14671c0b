#pragma once
// An image generator: a display (its name, such as visu2:0.1, is the host name,
// a colon and the display and screen numbers), its pixel size and the windows
// opened on it. The host name is the text before a first colon that is not at
// the start, else "localhost"; the display name is the text from that colon on,
// else the whole name. Accessors follow the conventions written in
// KORIVrcElement.h.
#include "interfaces/KORIVrcElement.h"
#include "system/KORList.h"

class KORIVrcWindow;

class KORIVrcIG : public KORIVrcElement {
  KOR_INTERFACE(KORIVrcIG, KORIVrcElement)
public:
  [[nodiscard]] virtual HRESULT GetWindows(KORListValKORBaseUnknown_var** oList) = 0;
  // Notifies the window's creation only when iNotifyCreate is set.
  [[nodiscard]] virtual HRESULT AddWindow(KORIVrcWindow* iWindow, unsigned char iNotifyCreate) = 0;
  [[nodiscard]] virtual HRESULT RemoveWindow(KORIVrcWindow* iWindow) = 0;
  [[nodiscard]] virtual HRESULT SetPixelWidth(int iWidth) = 0;
  [[nodiscard]] virtual HRESULT SetPixelHeight(int iHeight) = 0;
  // Read default 1024 for both.
  [[nodiscard]] virtual HRESULT GetPixelWidth(int* oWidth) = 0;
  [[nodiscard]] virtual HRESULT GetPixelHeight(int* oHeight) = 0;
  [[nodiscard]] virtual HRESULT GetHostName(KORUnicodeString& oHost) = 0;
  [[nodiscard]] virtual HRESULT GetDisplayName(KORUnicodeString& oDisplay) = 0;
  // A new list of the windows (the caller deletes it), null without feature.
  virtual KORListValKORBaseUnknown_var* GetWindowsList() = 0;
};
KOR_DECLARE_VAR(KORIVrcIG)
