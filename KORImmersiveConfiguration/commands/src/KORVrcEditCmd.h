#pragma once
// The shared shape of the module's editing commands: one state, four dialog
// agents (OK, Cancel, Apply, window close), optional pick and custom
// notification agents, and these transitions:
//
//   OK valued, values accepted        -> OK action, end
//   Apply last valued, values accepted -> OK action, stay
//   Cancel or Close valued            -> Cancel action, end
//   pick last valued                  -> OnPicked, agent re-armed, stay
//   custom notification last valued   -> its action, stay
//
// A command made without element creates one on its first OK or Apply; the
// next Apply or OK edits that one, and Cancel deletes it again. A command made
// with an element saves what it needs at start and Cancel writes it back.
//
// A kind's command supplies only its dialog (BuildDialog, InitDialog), its
// checks (CheckValues), its model operations (CreateElement, WriteValues,
// SaveValues, RestoreValues) and, when names of its kind must stay unique,
// the names of the other elements (GetNamesOfKind), the dialog's name
// (GetDialogName) and the rule it follows (GetNameRule).
#include "command/KORStateCommand.h"
#include "dialog/KORDlgObject.h"
#include "interfaces/KORIVrcFactory.h"
#include "interfaces/KORVrcValueRules.h"
#include "system/KORList.h"

// The identifiers of the four dialog agents; an empty apply means the kind's
// dialog has no Apply transition.
struct KORVrcEditAgentIds {
  const char* ok;
  const char* cancel;
  const char* apply; // null: no Apply
  const char* close;
};

class KORVrcEditCmd : public KORStateCommand {
public:
  // iElement: the element edited (one reference is kept), or null to create.
  KORVrcEditCmd(const KORString& iClassName, KORBaseUnknown* iElement,
                const KORVrcEditAgentIds& iAgentIds);
  ~KORVrcEditCmd() override;

  void BuildGraph() override;
  // Another command starting, or the session ending, acts as Cancel.
  void Cancel() override;

  // The configuration factory of the editor's document, or null (traced).
  KORIVrcFactory* GetFactory();

protected:
  // The element a command started without one edits (the configuration's
  // single head, say); null: the command creates one.
  virtual KORBaseUnknown_var RetrieveElement() { return {}; }
  // The kind's dialog, made with this command as father and built; null
  // fails the start.
  virtual KORDlgDialog* BuildDialog() = 0;
  // The kind's pick and custom-notification agents (AddPickAgent,
  // AddNotificationAgent), made once the dialog exists.
  virtual void AddKindAgents() {}
  // Fills the dialog from the element, or with defaults when creating.
  virtual void InitDialog() = 0;
  // The kind's checks of the dialog's values (after the name check); false
  // keeps the dialog open and writes nothing.
  virtual bool CheckValues() { return true; }
  // Makes the element from the dialog's values; null on failure.
  virtual KORBaseUnknown_var CreateElement() { return {}; }
  // Writes the dialog's values into the element (name first).
  virtual bool WriteValues() = 0;
  // Keeps what Cancel must restore, and writes it back.
  virtual void SaveValues() = 0;
  virtual bool RestoreValues() = 0;
  // The names of all elements of the kind; none when names need not be unique.
  virtual void GetNamesOfKind(KORListValKORUnicodeString&) {}
  virtual KORUnicodeString GetDialogName() { return {}; }
  // The rule the dialog's name must follow, so that the runtime files and a
  // description of the configuration can hold it; null: no name field.
  using NameRule = KORVrcTextProblem (*)(const std::string&);
  virtual NameRule GetNameRule() { return nullptr; }
  // A pick of an element of the types given to AddPickAgent.
  virtual void OnPicked(KORBaseUnknown*) {}
  // The state holding the dialog's agents: the initial state, unless the
  // kind makes states of its own before it; such a kind opens the dialog
  // itself (OpenDialog) on its way into the returned state.
  virtual KORCommandState* MakeEditState() { return GetInitialState("initialState"); }
  // Deletes the element this run made, on Cancel; true when it is gone.
  virtual bool DeleteMadeElement();
  // Removes iElement from the model as deleting it in the tree would.
  static bool RemoveFromModel(KORBaseUnknown* iElement);

  // Saves what Cancel restores, gathers the other names, fills the dialog
  // and shows it.
  void OpenDialog();

  // For RetrieveElement: the element the factory's iRetrieve gives, kept in
  // oElement too; null when there is none.
  template <class I>
  KORBaseUnknown_var RetrieveFromFactory(HRESULT (KORIVrcFactory::*iRetrieve)(I**),
                                         KORSmartPtr<I>& oElement) {
    KORIVrcFactory* factory = GetFactory();
    if (!factory || FAILED((factory->*iRetrieve)(oElement.Out())))
      oElement = nullptr;
    return KORBaseUnknown_var(oElement.get());
  }
  // A path agent taking picks of elements answering iType.
  KORPathElementAgent* AddPickAgent(const KORString& iId, const KORIID& iType);
  // An agent taking the notification class iClassName sent by the dialog,
  // running iAction and staying.
  void AddNotificationAgent(const KORString& iId, const char* iClassName, KORStateAction iAction);

  // Edits iElement rather than creating (before BuildGraph runs).
  void EditElement(KORBaseUnknown* iElement);
  // Puts iElement in the place of the element edited or made, for kinds whose
  // OK rebuilds the element rather than changing it; Cancel then deletes or
  // restores as before.
  void ReplaceElement(KORBaseUnknown* iElement) { _element = KORBaseUnknown_var(iElement); }
  // A refusal of the dialog's values: message iKey of the catalog named
  // after the command, else iFallback, after iSubject in quotes when given.
  void ShowRefusal(const char* iKey, const KORUnicodeString& iFallback,
                   const KORUnicodeString& iSubject = {}) const;
  // Refuses iText, shown in quotes, when it has iProblem; true when it has none.
  bool AcceptsText(const KORUnicodeString& iText, KORVrcTextProblem iProblem) const;
  // The element edited or made (null while creating and nothing made yet).
  KORBaseUnknown* GetElement() const { return _element.get(); }
  bool IsCreating() const { return _creating; }
  KORDlgDialog* GetDialog() const { return _dialog; }
  // The names of the other elements of the kind, gathered at start.
  const KORListValKORUnicodeString& GetOtherNames() const { return _otherNames; }
  // iBase followed by the first number from iFirst giving a free name.
  KORUnicodeString ComposeDefaultName(const KORUnicodeString& iBase, int iFirst) const;
  // Traces "<class>:\t\t<iMethod>" to the commands' trace module.
  void TraceMethod(const char* iMethod) const;

private:
  bool TestValues(void*);
  bool OnOK(void*);
  bool OnCancel(void*);
  bool OnSelection(void*);
  void GatherOtherNames();
  bool NameIsAccepted();
  // A message of the catalog the editing commands share.
  void ShowSharedRefusal(const char* iKey, const char* iFallback,
                         const KORUnicodeString& iSubject) const;
  bool NameIsTaken();

  KORBaseUnknown_var _element;
  bool _creating;
  bool _madeHere = false; // the element was made by this run's OK or Apply
  bool _cancelled = false;
  KORIVrcFactory_var _factory;
  KORVrcEditAgentIds _agentIds;
  KORDlgDialog* _dialog = nullptr; // a child of the command
  KORCommandAgent* _okAgent = nullptr;
  KORCommandAgent* _applyAgent = nullptr;
  std::vector<KORPathElementAgent*> _pickAgents;
  std::vector<std::pair<KORCommandAgent*, KORStateAction>> _notificationAgents;
  KORListValKORUnicodeString _otherNames;
};
