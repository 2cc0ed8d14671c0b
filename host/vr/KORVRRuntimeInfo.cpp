#include "vr/KORIVRRuntimeInfo.h"

#include "objectmodel/KORImplementation.h"
#include "system/KOREnvironment.h"
#include "system/KORSettingRepository.h"
#include "vr/KORVRConfigRegistry.h"
#include "vr/KORVRDeviceService.h"

#include <charconv>
#include <pugixml.hpp>

namespace {

constexpr const char* kSettingsRepository = "VRCommandsTemp";
constexpr const char* kHeadKey = "HeadTrackingEvent";
constexpr const char* kHandKey = "HandTrackingEvent";

// The identifier set for the current frame's runtime (a journal's `runtime`
// line), or empty.
KORUnicodeString FrameConfigID() {
  const KORVRDeviceService* service = KORVRDeviceService::Current();
  return service ? service->GetLoadedConfigID() : KORUnicodeString();
}

HRESULT ReadTrackerEvent(const char* iKey, KORString& oDeviceName, KORString& oEventName,
                         int& oIndex) {
  const KORVRDeviceService* service = KORVRDeviceService::Current();
  if (service && service->HasMapping()) {
    const KORVRDeviceManager& manager = service->GetDeviceManager();
    KORVRDeviceEvent event;
    const bool head = std::string_view(iKey) == kHeadKey;
    if (FAILED(head ? manager.GetHeadTrackingEvent(event) : manager.GetHandTrackingEvent(event)))
      return E_FAIL;
    oDeviceName = event.GetDeviceName();
    oEventName = event.GetName();
    oIndex = event.GetIndex();
    return S_OK;
  }
  const KORSettingRepository* repository = KORSettingRepository::GetRepository(kSettingsRepository);
  KORUnicodeString text;
  if (!repository || FAILED(repository->ReadSetting(iKey, text)))
    return E_FAIL;
  return KORVRParseTrackerEvent(text, oDeviceName, oEventName, oIndex);
}

class KORVRRuntimeInfo final : public KORImplementationOf<KORVRRuntimeInfo, KORIVRRuntimeInfo> {
public:
  KORVRRuntimeInfo() : KORImplementationOf("KORVRRuntimeInfo") {}

  HRESULT IsAvailable(int /*iWaitMilliseconds*/) override {
    return !_explicitID.empty() || !FrameConfigID().empty() || !KORGetActiveVRConfig().empty()
               ? S_OK
               : S_FALSE;
  }
  HRESULT GetConfigID(KORUnicodeString& oID) override {
    oID.clear();
    for (const KORUnicodeString& given : {_explicitID, FrameConfigID()})
      if (!given.empty()) {
        oID = given;
        return S_OK;
      }
    const KORUnicodeString active = KORGetActiveVRConfig();
    KORString error;
    return active.empty() ? E_FAIL : KORVRReadConfigID(active, oID, error);
  }
  HRESULT SetConfigID(const KORUnicodeString& iID) override {
    _explicitID = iID;
    return S_OK;
  }
  HRESULT GetHeadTrackerEvent(KORString& oDeviceName, KORString& oEventName,
                              int& oIndex) override {
    return ReadTrackerEvent(kHeadKey, oDeviceName, oEventName, oIndex);
  }
  HRESULT GetHandTrackerEvent(KORString& oDeviceName, KORString& oEventName,
                              int& oIndex) override {
    return ReadTrackerEvent(kHandKey, oDeviceName, oEventName, oIndex);
  }

private:
  KORUnicodeString _explicitID;
};

} // namespace

KORBaseUnknown* KORVRCreateRuntimeInfo() {
  auto* component = new KORVRRuntimeInfo();
  component->AddRef();
  return component->Identity();
}

HRESULT KORVRReadConfigID(const KORUnicodeString& iPath, KORUnicodeString& oID, KORString& oError) {
  oID.clear();
  KORUnicodeString physical;
  if (KORGetRealPath(iPath, physical) != S_OK) {
    oError = "\"" + KORGetPrintablePath(iPath) + "\": no such configuration file";
    return E_FAIL;
  }
  pugi::xml_document document;
  const pugi::xml_parse_result parsed = document.load_file(physical.c_str());
  if (!parsed) {
    oError = "\"" + physical + "\": byte " + std::to_string(parsed.offset) + ": " +
             parsed.description();
    return E_FAIL;
  }
  const pugi::xml_node root = document.document_element();
  if (std::string_view(root.name()) != "Config") {
    oError = "\"" + physical + "\": the root element is not Config";
    return E_FAIL;
  }
  const pugi::xml_attribute id = root.attribute("ConfigID");
  if (id.empty() || *id.value() == '\0') {
    oError = "\"" + physical + "\": the Config element has no ConfigID";
    return E_FAIL;
  }
  oID = id.value();
  return S_OK;
}

HRESULT KORVRParseTrackerEvent(const KORUnicodeString& iText, KORString& oDeviceName,
                               KORString& oEventName, int& oIndex) {
  const std::size_t indexStart = iText.rfind(' ');
  if (indexStart == KORUnicodeString::npos || indexStart == 0)
    return E_FAIL;
  const std::size_t nameStart = iText.rfind(' ', indexStart - 1);
  if (nameStart == KORUnicodeString::npos || nameStart == 0 || nameStart + 1 == indexStart)
    return E_FAIL;
  int index = 0;
  const char* first = iText.data() + indexStart + 1;
  const char* last = iText.data() + iText.size();
  auto [stop, error] = std::from_chars(first, last, index);
  if (error != std::errc() || stop != last || first == last || index < 0)
    return E_FAIL;
  oDeviceName = iText.substr(0, nameStart);
  oEventName = iText.substr(nameStart + 1, indexStart - nameStart - 1);
  oIndex = index;
  return S_OK;
}
