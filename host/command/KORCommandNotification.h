#pragma once
// The notifications of the interaction layer: what a widget, a dialog or a
// command tells the objects above it. A notification is known by its class
// name; receivers (callbacks, agents) select what they take by that name and
// by the sender. Notifications carry no data unless a class adds some.
//
// Sending is synchronous and by reference: the sender makes the notification
// on its stack and it is gone when SendNotification returns.
#include "featurestore/KORNotification.h"

class KORCommand;

// What a notification means for the document's changes made by the command
// it reaches: a dialog's OK and Apply keep them, Cancel and window close drop
// them.
enum class KORCommandOutcome { None, Commit, Abort };

class KORCommandNotification : public KORNotification {
public:
  explicit KORCommandNotification(const char* iClassName) : KORNotification(iClassName) {}
  KORCommandNotification(const KORCommandNotification&) = delete;
  KORCommandNotification& operator=(const KORCommandNotification&) = delete;
  ~KORCommandNotification() override = default;

  // The class name by which receivers select this notification.
  const char* GetNotificationName() const { return GetClassName().c_str(); }
  virtual KORCommandOutcome GetOutcome() const { return KORCommandOutcome::None; }
  // The object that sent it; set by KORCommand::SendNotification.
  KORCommand* GetSender() const { return _sender; }
  void SetSender(KORCommand* iSender) { _sender = iSender; }

private:
  KORCommand* _sender = nullptr;
};

// Declares a notification class named Name, without data, deriving from Base.
#define KOR_DECLARE_NOTIFICATION(Name, Base)                                                       \
  class Name : public Base {                                                                       \
  public:                                                                                          \
    static constexpr const char* ClassName = #Name;                                                \
    Name() : Base(ClassName) {}                                                                    \
  };
// The same, for a notification that keeps or drops the command's changes.
#define KOR_DECLARE_NOTIFICATION_WITH_OUTCOME(Name, Base, Outcome)                                 \
  class Name : public Base {                                                                       \
  public:                                                                                          \
    static constexpr const char* ClassName = #Name;                                                \
    Name() : Base(ClassName) {}                                                                    \
    KORCommandOutcome GetOutcome() const override { return KORCommandOutcome::Outcome; }           \
  };
