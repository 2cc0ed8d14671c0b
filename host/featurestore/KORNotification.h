#pragma once
// Model events. A notification names the object it is about; a creation also
// names the father under which the object now exists. While a notification
// travels from receiver to receiver it records whom it has reached, so that it
// reaches each object at most once even through a cycle of connections.
#include "objectmodel/KORSmartPtr.h"

#include <vector>

enum class KORNotificationKind { Create, Modify, Delete };

class KORNotification {
public:
  KORNotification(KORNotificationKind iKind, KORBaseUnknown* iObject, int iMode,
                  KORBaseUnknown* iFather = nullptr)
      : _kind(iKind), _object(iObject), _father(iFather), _mode(iMode) {}
  virtual ~KORNotification() = default;

  KORNotificationKind Kind() const { return _kind; }
  // The object the notification is about (its identity).
  KORBaseUnknown* Object() const { return _object.get(); }
  KORBaseUnknown* Father() const { return _father.get(); }
  int Mode() const { return _mode; }

  // Records that iReceiver got the notification; false when it already had.
  bool MarkReached(const void* iReceiver);

private:
  KORNotificationKind _kind;
  KORBaseUnknown_var _object;
  KORBaseUnknown_var _father;
  int _mode;
  std::vector<const void*> _reached;
};

class KORCreate : public KORNotification {
public:
  KORCreate(KORBaseUnknown* iObject, KORBaseUnknown* iFather, int iMode = 0)
      : KORNotification(KORNotificationKind::Create, iObject, iMode, iFather) {}
};
class KORModify : public KORNotification {
public:
  explicit KORModify(KORBaseUnknown* iObject, int iMode = 1)
      : KORNotification(KORNotificationKind::Modify, iObject, iMode) {}
};
class KORDelete : public KORNotification {
public:
  explicit KORDelete(KORBaseUnknown* iObject, int iMode = 0)
      : KORNotification(KORNotificationKind::Delete, iObject, iMode) {}
};
