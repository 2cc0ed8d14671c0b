#pragma once
// Command sets: the command headers a module offers under a topic (for
// example the commands to re-evaluate when the UI-active object changes).
// A stackable set lists header IDs; stacked on a parent set, it offers the
// parent's IDs first, then its own.
#include "objectmodel/KORImplementation.h"
#include "system/KORList.h"

class KORStackableCommandSet final
    : public KORImplementationOf<KORStackableCommandSet, KORBaseUnknown> {
public:
  // Made with one reference for the caller; iParent may be null.
  static KORStackableCommandSet* Create(KORStackableCommandSet* iParent = nullptr);

  void AddCommand(const KORString& iHeaderId) { _own.Append(iHeaderId); }
  // The parent's IDs, then this set's, in the order they were added.
  KORList1<KORString> GetCommands() const;
  KORStackableCommandSet* GetParent() const { return _parent.get(); }

private:
  explicit KORStackableCommandSet(KORStackableCommandSet* iParent)
      : KORImplementationOf("KORStackableCommandSet"), _parent(iParent) {}
  KORSmartPtr<KORStackableCommandSet> _parent;
  KORList1<KORString> _own;
};

class KORICommandSet : public KORBaseUnknown {
  KOR_INTERFACE(KORICommandSet, KORBaseUnknown)
public:
  // Appends the topics this set answers.
  [[nodiscard]] virtual HRESULT EnumTopics(KORList1<KORString>& ioTopics) = 0;
  // The set of topic iTopic, with one reference for the caller.
  [[nodiscard]] virtual HRESULT GetCommandSet(const KORString& iTopic,
                                              KORStackableCommandSet** oSet) = 0;
};

// The base of command-set extensions.
template <class... Interfaces> class KORECommandSet : public KORExtensionOf<Interfaces...> {};
