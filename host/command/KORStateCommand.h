#pragma once
// State commands: a graph of states holding agents, and transitions between
// them. A notification that reaches the command values the first agent of the
// current state that accepts it; then the transitions leaving the current
// state are tried in the order they were added, and the first whose condition
// holds runs its action and moves to its target (null target: the command
// ends and the command manager destroys it after the notification).
//
// An agent, once valued, takes nothing more until it is re-armed
// (InitializeAcquisition) or the command enters its state again from another
// state; an agent with the repeat behaviour takes every notification it
// accepts, so that a transition looping on the same state can fire again.
#include "command/KORCommand.h"
#include "command/KORPathElement.h"

#include <memory>

// Behaviour flags of agents.
inline constexpr int KORAgentRepeat = 32;
// Valued at the state's entry from the editor's current selection when it fits.
inline constexpr int KORAgentValuedFromSelection = 2097152;
// Highlights what the agent takes; kept for the viewer, no effect on valuation.
inline constexpr int KORAgentHighlightPicked = 8388608;

class KORCommandAgent {
public:
  explicit KORCommandAgent(const KORString& iId) : _id(iId) {}
  KORCommandAgent(const KORCommandAgent&) = delete;
  KORCommandAgent& operator=(const KORCommandAgent&) = delete;
  virtual ~KORCommandAgent() = default;

  const KORString& GetId() const { return _id; }
  void SetBehavior(int iFlags) { _behavior = iFlags; }
  void AddBehavior(int iFlags) { _behavior |= iFlags; }
  int GetBehavior() const { return _behavior; }
  bool HasBehavior(int iFlag) const { return (_behavior & iFlag) != 0; }

  bool IsOutputSet() const { return _valued; }
  // Forgets the value: the agent takes the next notification it accepts.
  virtual void InitializeAcquisition() { _valued = false; }
  // The class name of the notification that valued the agent last.
  const KORString& GetValuedBy() const { return _valuedBy; }
  // What that notification means for the command's changes.
  KORCommandOutcome GetValuedOutcome() const {
    return _valued ? _valuedOutcome : KORCommandOutcome::None;
  }

  // Values the agent with iNotification when it is free (or repeatable) and
  // accepts it; true when it did.
  bool Take(KORCommandNotification& iNotification);

protected:
  virtual bool Accepts(const KORCommandNotification& iNotification) const = 0;
  virtual void Store(const KORCommandNotification&) {}

private:
  KORString _id;
  int _behavior = 0;
  bool _valued = false;
  KORString _valuedBy;
  KORCommandOutcome _valuedOutcome = KORCommandOutcome::None;
};

// Takes notifications of given classes from given senders (a dialog's OK,
// Cancel, Apply, window close, or a custom notification by class name).
class KORDialogAgent : public KORCommandAgent {
public:
  using KORCommandAgent::KORCommandAgent;
  // Accept notifications named iNotificationName sent by iSender (null: any).
  void AcceptOnNotify(KORCommand* iSender, const char* iNotificationName);

protected:
  bool Accepts(const KORCommandNotification& iNotification) const override;

private:
  std::vector<std::pair<KORCommand*, KORString>> _accepted;
};

// Takes picks (in a viewer or the tree) of elements answering one of the
// interfaces given; holds the picked path and point.
class KORPathElementAgent : public KORCommandAgent {
public:
  using KORCommandAgent::KORCommandAgent;
  void AddElementType(const KORIID& iInterface) { _types.push_back(iInterface); }
  // Whether the last element of iPath answers one of the interfaces (any
  // element when none was given).
  bool Fits(const KORPathElement& iPath) const;
  // Values the agent with iPath as a pick would (the pre-selection).
  bool TakePath(const KORPathElement& iPath);

  const KORPathElement& GetValue() const { return _path; }
  const std::optional<KORMathPoint>& GetPoint() const { return _point; }
  KORBaseUnknown* GetElementValue() const { return _path.GetLastElement(); }
  void InitializeAcquisition() override;

protected:
  bool Accepts(const KORCommandNotification& iNotification) const override;
  void Store(const KORCommandNotification& iNotification) override;

private:
  std::vector<KORIID> _types;
  KORPathElement _path;
  std::optional<KORMathPoint> _point;
};

class KORCommandState {
public:
  explicit KORCommandState(const KORString& iName) : _name(iName) {}
  const KORString& GetName() const { return _name; }
  void AddDialogAgent(KORCommandAgent* iAgent) { _agents.push_back(iAgent); }
  const std::vector<KORCommandAgent*>& GetAgents() const { return _agents; }

private:
  KORString _name;
  std::vector<KORCommandAgent*> _agents;
};

// A guard of a transition; combine with &&.
class KORStateCondition {
public:
  KORStateCondition() = default; // always true
  explicit KORStateCondition(std::function<bool()> iTest) : _test(std::move(iTest)) {}
  bool Evaluate() const { return !_test || _test(); }
  friend KORStateCondition operator&&(KORStateCondition iA, KORStateCondition iB) {
    return KORStateCondition([a = std::move(iA), b = std::move(iB)] {
      return a.Evaluate() && b.Evaluate();
    });
  }

private:
  std::function<bool()> _test;
};

using KORStateAction = std::function<bool()>;

class KORStateCommand : public KORCommand {
public:
  explicit KORStateCommand(const KORString& iName);
  ~KORStateCommand() override;

  // Builds the graph (agents, states, transitions, dialog). Run once by Start.
  virtual void BuildGraph() = 0;
  // Run by Start once the first state is entered.
  virtual void Activate() {}
  // Builds the graph once, enters the initial state, then Activate.
  void Start();
  void Cancel() override;

  // The state the graph starts in, made on first demand.
  KORCommandState* GetInitialState(const KORString& iName);
  KORCommandState* AddDialogState(const KORString& iName);
  KORCommandState* GetCurrentState() const { return _current; }

  // Agents belong to the command. Example:
  //   auto* ok = MakeAgent<KORDialogAgent>("OkAgent");
  template <class Agent> Agent* MakeAgent(const KORString& iId) {
    auto agent = std::make_unique<Agent>(iId);
    Agent* result = agent.get();
    _agents.push_back(std::move(agent));
    return result;
  }

  // A transition from iFrom to iTo (null: end); iAction may be empty.
  void AddTransition(KORCommandState* iFrom, KORCommandState* iTo, KORStateCondition iCondition,
                     KORStateAction iAction = {});

  // Conditions on agents.
  static KORStateCondition IsOutputSetCondition(const KORCommandAgent* iAgent);
  KORStateCondition IsLastModifiedAgentCondition(const KORCommandAgent* iAgent) const;
  // A condition or an action from a member function of the command.
  template <class C> KORStateCondition Condition(bool (C::*iMethod)(void*), void* iData = nullptr) {
    C* self = static_cast<C*>(this);
    return KORStateCondition([self, iMethod, iData] { return (self->*iMethod)(iData); });
  }
  template <class C> KORStateAction Action(bool (C::*iMethod)(void*), void* iData = nullptr) {
    C* self = static_cast<C*>(this);
    return [self, iMethod, iData] { return (self->*iMethod)(iData); };
  }

  const KORCommandAgent* GetLastModifiedAgent() const { return _lastModified; }
  bool IsEnded() const { return _ended; }
  // Ends the command from outside a transition (an answer to a message box).
  void EndCommand();

protected:
  bool AnalyseNotification(KORCommandNotification& iNotification) override;

private:
  struct Transition {
    KORCommandState* from;
    KORCommandState* to;
    KORStateCondition condition;
    KORStateAction action;
  };
  void EnterState(KORCommandState* iState);
  void RunTransitions();
  KORCommandOutcome TransitionOutcome() const;
  void TakeSelection();

  std::vector<std::unique_ptr<KORCommandAgent>> _agents;
  std::vector<std::unique_ptr<KORCommandState>> _states;
  std::vector<Transition> _transitions;
  KORCommandState* _initial = nullptr;
  KORCommandState* _current = nullptr;
  const KORCommandAgent* _lastModified = nullptr;
  bool _built = false;
  bool _ended = false;
};
