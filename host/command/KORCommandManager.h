#pragma once
// The command manager: one per application frame. It starts commands (one
// exclusive command at a time: starting another cancels the running one),
// delivers picks to the running command, destroys the objects that asked for
// it once the notification being delivered is over, and tells an observer
// where a command starts, commits (OK, Apply), aborts (Cancel, window close,
// cancelled) and ends, so that a command can be made one store transaction.
#include "command/KORCommand.h"
#include "command/KORPathElement.h"

#include <memory>
#include <vector>

class KORCommandObserver {
public:
  virtual ~KORCommandObserver() = default;
  virtual void OnCommandStarted(KORCommand& iCommand) = 0;
  virtual void OnCommandCommitted(KORCommand& iCommand) = 0;
  virtual void OnCommandAborted(KORCommand& iCommand) = 0;
  // The command is being destroyed.
  virtual void OnCommandEnded(KORCommand& iCommand) = 0;
};

class KORCommandManager {
public:
  KORCommandManager();
  KORCommandManager(const KORCommandManager&) = delete;
  KORCommandManager& operator=(const KORCommandManager&) = delete;
  // Destroys every command and window still alive.
  ~KORCommandManager();

  // The father of the commands started here and of windows without a
  // command (message boxes of the application).
  KORCommand* GetMainWindow() const { return _mainWindow.get(); }

  // The current editor, which commands reach through GetEditor (not owned).
  void SetEditor(KORFrmEditor* iEditor) { _editor = iEditor; }
  KORFrmEditor* GetEditor() const { return _editor; }

  // Not owned; null for none.
  void SetObserver(KORCommandObserver* iObserver) { _observer = iObserver; }

  // Takes iCommand (made with new), cancels the running command, attaches
  // iCommand under the main window and starts it (a state command builds its
  // graph and enters its first state). E_INVALIDARG for null.
  [[nodiscard]] HRESULT StartCommand(KORCommand* iCommand);
  // The running command, or null (also once it asked to end).
  KORCommand* GetActiveCommand() const;
  // Cancels the running command, as closing its window would.
  void CancelActiveCommand();

  // A person picks the element at the end of iPath in a viewer (with the model
  // point) or in the tree. S_OK when an agent of the running command took it,
  // S_FALSE when nothing took it, E_INVALIDARG for an empty path.
  [[nodiscard]] HRESULT Pick(const KORPathElement& iPath,
                             std::optional<KORMathPoint> iPoint = std::nullopt);

  // Delivers iNotification to iTarget and up its fathers (see KORCommand).
  [[nodiscard]] static HRESULT Deliver(KORCommand* iTarget, KORCommandNotification& iNotification);
  // Destroys, now, what asked for destruction; done after each delivery.
  void FlushDestructions();

  // Reported by state commands when a dialog's OK or Apply, or Cancel or
  // window close, made a transition.
  void NotifyCommitted(KORCommand& iCommand);
  void NotifyAborted(KORCommand& iCommand);

private:
  friend class KORCommand;
  void ScheduleDestruction(KORCommand* iObject);
  void Forget(KORCommand* iObject);

  class MainWindow;
  std::unique_ptr<KORCommand> _mainWindow;
  KORFrmEditor* _editor = nullptr;
  KORCommandObserver* _observer = nullptr;
  KORCommand* _active = nullptr;
  std::vector<KORCommand*> _started;
  std::vector<KORCommand*> _pending;
  int _depth = 0;
};
