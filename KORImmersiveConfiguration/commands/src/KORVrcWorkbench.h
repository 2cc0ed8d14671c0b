#pragma once
// The module's entry in the host: the workbench "KORVrcWorkbench" (its command
// headers and its toolbar), the factory that the application frame asks for
// it, the command set re-evaluated on UI-active changes, and the transition
// into the product workshop.
#include "command/KORCommandSet.h"
#include "interfaces/KORIVrcWorkbenchFactory.h"
#include "objectmodel/KORImplementation.h"

inline constexpr const char* KORVrcWorkbenchName = "KORVrcWorkbench";
inline constexpr const char* KORVrcUIActiveChangedTopic = "KORAfrUIActiveChanged";

class KORVrcWorkbench final
    : public KORImplementationOf<KORVrcWorkbench, KORIPRDWorkshopConfiguration> {
public:
  KORVrcWorkbench() : KORImplementationOf(KORVrcWorkbenchName) {}

  void CreateCommands() override;
  KORCmdWorkbench* CreateWorkbench() override;
  const char* GetAddinInterface() override;
  void GetCustomInterfaces(KORList1<KORString>& ioInterfaces, int& ioCount) override;

protected:
  // Also answers its class name, as the factory asks for it.
  void* CastToOwnInterface(const KORIID& iIID) override;
};

class KORVrcWorkbenchFactory : public KORWorkshopConfigurationFactory<KORIVrcWorkbenchFactory> {
public:
  bool Support(const KORUnicodeString& iName) override;
  KORBaseUnknown* Create(const KORUnicodeString& iName) override;
};

class KORVrcWorkbenchCommandSet : public KORECommandSet<KORICommandSet> {
public:
  HRESULT EnumTopics(KORList1<KORString>& ioTopics) override;
  // E_INVALIDARG without oSet, E_FAIL for another topic, without a set or
  // without a current editor. The thirteen headers are appended to the kept
  // set on every call whose document is kept on this machine (mode or host 0).
  HRESULT GetCommandSet(const KORString& iTopic, KORStackableCommandSet** oSet) override;

private:
  KORSmartPtr<KORStackableCommandSet> _set;
};

class KOREVrcWorkbenchTransition : public KORExtIWorkbenchTransition<KORIWorkbenchTransition> {
public:
  KOREVrcWorkbenchTransition() { _workshopName = "Product"; }
};
