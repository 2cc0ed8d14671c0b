#pragma once
// Commands: the objects of the interaction layer (dialogs and widgets are
// commands too). Each has a father; a notification sent to an object is
// delivered to it and then to each father up the chain, so that a widget's
// notification reaches its dialog and the command that owns the dialog.
//
// Ownership follows the father chain: an object destroys the children still
// attached to it when it is destroyed. An object never deletes itself while it
// handles a notification: it asks for RequestDelayedDestruction and the
// command manager destroys it once the notification has been delivered.
#include "command/KORCallbackList.h"
#include "command/KORCommandNotification.h"
#include "objectmodel/KORResult.h"
#include "system/KORString.h"

#include <functional>
#include <vector>

class KORCommandManager;
class KORFrmEditor;

// A callback run when a notification reaches the object that registered it.
using KORNotificationCallback =
    std::function<void(KORCommand* iSender, KORCommandNotification& iNotification)>;

class KORCommand {
public:
  // iFather may be null (attached later by SetFather, as the command manager
  // does for the commands it starts).
  explicit KORCommand(KORCommand* iFather = nullptr, const KORString& iName = "");
  KORCommand(const KORCommand&) = delete;
  KORCommand& operator=(const KORCommand&) = delete;
  virtual ~KORCommand();

  const KORString& GetName() const { return _name; }
  KORCommand* GetFather() const { return _father; }
  void SetFather(KORCommand* iFather);
  const std::vector<KORCommand*>& GetChildren() const { return _children; }

  // Sends iNotification (sender: this object) to iTarget and up its father
  // chain. Objects that asked for destruction meanwhile are destroyed when
  // the outermost delivery is over. E_INVALIDARG without target.
  [[nodiscard]] HRESULT SendNotification(KORCommand* iTarget,
                                         KORCommandNotification& iNotification);

  // Runs iCallback when a notification named iNotificationName sent by
  // iSender reaches this object (null sender: any sender; null name: any
  // notification). The handle removes it; removal during delivery is safe.
  KORCallbackHandle AddAnalyseNotificationCB(KORCommand* iSender, const char* iNotificationName,
                                             KORNotificationCallback iCallback);
  void RemoveAnalyseNotificationCB(KORCallbackHandle iHandle);

  // Asks the command manager to destroy this object after the notification
  // being delivered. Without a manager above it, the object is only marked
  // and its owner destroys it.
  void RequestDelayedDestruction();
  bool IsDestructionRequested() const { return _destructionRequested; }

  // The command manager reached through the father chain, or null.
  virtual KORCommandManager* GetManager() const;
  // The editor the command works in (the manager's current editor), or null.
  KORFrmEditor* GetEditor() const;

  // Cancels the command (another exclusive command starts, or the session
  // ends). The default asks for destruction.
  virtual void Cancel();

protected:
  // Handles a notification reaching this object; true stops the climb (an
  // agent of a state command took it). Callbacks have already run.
  virtual bool AnalyseNotification(KORCommandNotification& iNotification);

private:
  friend class KORCommandManager;
  void RunCallbacks(KORCommandNotification& iNotification);
  void Detach(KORCommand* iChild);

  struct Callback {
    KORCommand* sender; // null: any
    KORString name;
    bool anyName;
    KORNotificationCallback function;
  };
  KORString _name;
  KORCommand* _father = nullptr;
  std::vector<KORCommand*> _children;
  KORCallbackList<Callback> _callbacks;
  bool _destructionRequested = false;
};
