#include "command/KORCommandSet.h"

KORStackableCommandSet* KORStackableCommandSet::Create(KORStackableCommandSet* iParent) {
  auto* set = new KORStackableCommandSet(iParent);
  set->AddRef();
  return set;
}

KORList1<KORString> KORStackableCommandSet::GetCommands() const {
  KORList1<KORString> commands = _parent ? _parent->GetCommands() : KORList1<KORString>();
  for (const KORString& id : _own)
    commands.Append(id);
  return commands;
}
