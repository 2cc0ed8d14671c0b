#include "KOREVrcIG.h"

#include "KORVrcTools.h"
#include "KORVrcTrace.h"
#include "featurestore/KORIModelEvents.h"
#include "interfaces/KORIVrcWindow.h"

#include <memory>

using namespace KORVrcAccess;

namespace {
constexpr int kDefaultPixels = 1024;

// The position of the colon that separates host and display, when the name
// has a host part (a colon that is not the first character).
std::optional<std::size_t> HostSeparator(const KORUnicodeString& iName) {
  const std::size_t colon = iName.find(':');
  if (colon == KORUnicodeString::npos || colon == 0)
    return std::nullopt;
  return colon;
}
} // namespace

HRESULT KOREVrcIG::Reconnect() {
  KORVrcTraceScope scope("KOREVrcIG::Reconnect");
  KOROwnedList windows(GetWindowsList());
  auto events = QueryImpl<KORIModelEvents>();
  if (!windows || !events)
    return S_OK;
  for (const KORBaseUnknown_var& entry : *windows) {
    // The generator aggregates its windows, so it is their father: it takes
    // their events itself, as each window's refresh extension would have it
    // do, without making that extension for every window of a large document.
    KORIgnoreResult(events->ConnectTo(entry), KORVrcEventNotDelivered);
    if (auto window = KORQuery<KORIVrcWindow>(entry))
      KORIgnoreResult(window->Reconnect(), KORVrcEventNotDelivered);
  }
  return S_OK;
}

HRESULT KOREVrcIG::GetWindows(KORListValKORBaseUnknown_var** oList) {
  KORVrcTraceScope scope("KOREVrcIG::GetWindows");
  if (!oList)
    return E_FAIL;
  *oList = GetWindowsList();
  if (!*oList) {
    KORVrcModelTrace().Printf("KOREVrcIG::GetWindows(). ERROR : WindowsList = NULL");
    return E_FAIL;
  }
  return S_OK;
}

KORListValKORBaseUnknown_var* KOREVrcIG::GetWindowsList() {
  KORListValKORBaseUnknown_var* windows = nullptr;
  KORIgnoreResult(GetList<KORIVrcWindow>(GetImpl(), "Windows", &windows), KORVrcNullWhenUnread);
  return windows;
}

HRESULT KOREVrcIG::AddWindow(KORIVrcWindow* iWindow, unsigned char iNotifyCreate) {
  KORVrcTraceScope scope("KOREVrcIG::AddWindow");
  return AddToList(GetImpl(), "Windows", iWindow,
                   {Hook::Father, iNotifyCreate != 0, /*redraw=*/true, "VrcWindow"});
}

HRESULT KOREVrcIG::RemoveWindow(KORIVrcWindow* iWindow) {
  KORVrcTraceScope scope("KOREVrcIG::RemoveWindow");
  return RemoveFromList(GetImpl(), "Windows", iWindow);
}

HRESULT KOREVrcIG::SetPixelWidth(int iWidth) {
  KORVrcTraceScope scope("KOREVrcIG::SetPixelWidth");
  return SetInteger(GetImpl(), "PixelWidth", iWidth, Notify::Yes);
}

HRESULT KOREVrcIG::SetPixelHeight(int iHeight) {
  KORVrcTraceScope scope("KOREVrcIG::SetPixelHeight");
  return SetInteger(GetImpl(), "PixelHeight", iHeight, Notify::Yes);
}

HRESULT KOREVrcIG::GetPixelWidth(int* oWidth) {
  KORVrcTraceScope scope("KOREVrcIG::GetPixelWidth");
  return GetInteger(GetImpl(), "PixelWidth", oWidth, kDefaultPixels);
}

HRESULT KOREVrcIG::GetPixelHeight(int* oHeight) {
  KORVrcTraceScope scope("KOREVrcIG::GetPixelHeight");
  return GetInteger(GetImpl(), "PixelHeight", oHeight, kDefaultPixels);
}

HRESULT KOREVrcIG::GetHostName(KORUnicodeString& oHost) {
  KORVrcTraceScope scope("KOREVrcIG::GetHostName");
  KORUnicodeString name;
  if (FAILED(GetName(name)))
    return E_FAIL;
  const auto colon = HostSeparator(name);
  oHost = colon ? name.substr(0, *colon) : KORUnicodeString("localhost");
  return S_OK;
}

HRESULT KOREVrcIG::GetDisplayName(KORUnicodeString& oDisplay) {
  KORVrcTraceScope scope("KOREVrcIG::GetDisplayName");
  KORUnicodeString name;
  if (FAILED(GetName(name)))
    return E_FAIL;
  const auto colon = HostSeparator(name);
  oDisplay = colon ? name.substr(*colon) : name;
  return S_OK;
}
