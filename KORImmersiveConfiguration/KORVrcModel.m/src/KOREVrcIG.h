#pragma once
// An image generator's behaviour: its windows, pixel size and display name.
#include "KORAdapterVrcName.h"
#include "interfaces/KORIVrcIG.h"

class KOREVrcIG : public KORAdapterVrcName<KORIVrcIG> {
public:
  HRESULT Reconnect() override;

  HRESULT GetWindows(KORListValKORBaseUnknown_var** oList) override;
  HRESULT AddWindow(KORIVrcWindow* iWindow, unsigned char iNotifyCreate) override;
  HRESULT RemoveWindow(KORIVrcWindow* iWindow) override;
  HRESULT SetPixelWidth(int iWidth) override;
  HRESULT SetPixelHeight(int iHeight) override;
  HRESULT GetPixelWidth(int* oWidth) override;
  HRESULT GetPixelHeight(int* oHeight) override;
  HRESULT GetHostName(KORUnicodeString& oHost) override;
  HRESULT GetDisplayName(KORUnicodeString& oDisplay) override;
  KORListValKORBaseUnknown_var* GetWindowsList() override;
};
