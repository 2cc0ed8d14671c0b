#pragma once
// Workshops and workbenches: how the application frame asks a module for a
// workbench by name, what a workbench offers (its command headers and its
// access tree), and the transition that makes a workbench current.
#include "command/KORCommandEnvironment.h"
#include "command/KORWorkbenchAccess.h"
#include "objectmodel/KORExtension.h"
#include "system/KORList.h"

// A factory of objects by name.
class KORIGenericFactory : public KORBaseUnknown {
  KOR_INTERFACE(KORIGenericFactory, KORBaseUnknown)
public:
  // Whether the factory makes iName.
  virtual bool Support(const KORUnicodeString& iName) = 0;
  // A new object for iName with one reference for the caller, or null.
  virtual KORBaseUnknown* Create(const KORUnicodeString& iName) = 0;
};

// The base of workbench factories (code extensions of the application frame).
template <class... Interfaces>
class KORWorkshopConfigurationFactory : public KORExtensionOf<Interfaces...> {};

// A workbench of the product workshop.
class KORIPRDWorkshopConfiguration : public KORBaseUnknown {
  KOR_INTERFACE(KORIPRDWorkshopConfiguration, KORBaseUnknown)
public:
  // Makes the workbench's command headers (they join the current header list).
  virtual void CreateCommands() = 0;
  // The workbench's access tree, which the caller owns.
  virtual KORCmdWorkbench* CreateWorkbench() = 0;
  // The interface name by which other modules add toolbars to the workbench.
  virtual const char* GetAddinInterface() = 0;
  // Appends the names of further interfaces the workbench offers; ioCount is
  // the number of names in ioInterfaces.
  virtual void GetCustomInterfaces(KORList1<KORString>& ioInterfaces, int& ioCount) = 0;
};

class KORIWorkbenchTransition : public KORBaseUnknown {
  KOR_INTERFACE(KORIWorkbenchTransition, KORBaseUnknown)
public:
  // Makes workbench iWorkbench of this transition's workshop current.
  [[nodiscard]] virtual HRESULT DoTransition(const KORString& iWorkbench) = 0;
};

// The base of workbench transitions: the workshop's name, set by the derived
// class, is what the transition makes current together with the workbench.
template <class... Interfaces>
class KORExtIWorkbenchTransition : public KORExtensionOf<Interfaces...> {
public:
  // E_FAIL without workshop name, workbench name or current environment.
  [[nodiscard]] HRESULT DoTransition(const KORString& iWorkbench) override {
    KORCommandEnvironment* environment = KORCommandEnvironment::Current();
    if (_workshopName.empty() || iWorkbench.empty() || !environment)
      return E_FAIL;
    environment->SetCurrentWorkbench(_workshopName, iWorkbench);
    return S_OK;
  }

protected:
  KORString _workshopName;
};
