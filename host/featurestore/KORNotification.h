#pragma once
// Notifications. The base is a plain, named notification: its class name
// ("KORCreate", or a command's or dialog's own class) is all that receivers
// may rely on. While a notification travels from receiver to receiver it
// records whom it has reached, so that it reaches each object at most once
// even through a cycle of connections.
//
// An object with a dispatcher is marked on the object itself (its
// KORReachedMarks), which costs one comparison; other objects are recorded
// in the notification. Notifications travel on one thread.
//
// Model events are one class of notification (KORModelNotification): a
// creation, modification or deletion of an object; a creation also names the
// father under which the object now exists.
#include "objectmodel/KORSmartPtr.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class KORModelNotification;

// The marks the notifications travelling at the same time leave on one
// object. A notification takes one of a few slots for as long as it lives,
// and stamps its slot with its own serial number; a notification travelling
// inside another one's delivery (an object's own change raised while it
// receives) has another slot, so it never overwrites the outer one's marks.
// Stamps left by finished notifications match no later serial.
class KORReachedMarks {
public:
  static constexpr std::size_t kSlots = 4;

private:
  friend class KORNotification;
  std::array<std::uint64_t, kSlots> _serials{};
};

class KORNotification {
public:
  explicit KORNotification(std::string iClassName) : _className(std::move(iClassName)) {}
  virtual ~KORNotification();
  // A copy would share the slot of its original.
  KORNotification(const KORNotification&) = delete;
  KORNotification& operator=(const KORNotification&) = delete;

  const std::string& GetClassName() const { return _className; }
  // This notification as a model event, or null (KORModelNotification::From).
  virtual const KORModelNotification* AsModelNotification() const { return nullptr; }

  // Records that iReceiver (an identity) got the notification; false when it
  // already had. Constant time: one notification may reach hundreds of objects.
  bool MarkReached(KORBaseUnknown* iReceiver);
  // The same for the object that keeps ioMarks; inline, as every receiver of
  // every dispatch asks it.
  bool MarkReached(KORReachedMarks& ioMarks) {
    if (!HasSlot())
      return MarkInRecord(&ioMarks);
    std::uint64_t& stamp = ioMarks._serials[static_cast<std::size_t>(_slot)];
    if (stamp == _serial)
      return false;
    stamp = _serial;
    return true;
  }
  // Makes room for iMore receivers to be recorded without growing step by
  // step (an object about to pass the notification to hundreds). Receivers
  // with marks of their own are not recorded: with a slot, nothing to do.
  void ExpectReached(std::size_t iMore) {
    if (!HasSlot())
      ExpectInRecord(iMore);
  }

private:
  static constexpr int kNoSlot = -1;
  // Takes a free slot on the first mark; false when every slot is taken by
  // notifications still alive (then the marks go to the record).
  bool HasSlot() {
    if (_serial == 0)
      TakeSlot();
    return _slot != kNoSlot;
  }
  void TakeSlot();
  bool MarkInRecord(const void* iReceiver);
  void ExpectInRecord(std::size_t iMore);
  // Most notifications reach a handful of objects, searched in place with no
  // allocation; past kFewReached they go to an open-addressing table (empty
  // slots are null, the null receiver has its own flag).
  static constexpr std::size_t kFewReached = 8;
  bool InsertInTable(const void* iReceiver);
  // Grows the table to at least iAtLeast slots, and at least doubles it.
  void GrowTable(std::size_t iAtLeast = 0);

  std::string _className;
  std::array<const void*, kFewReached> _few{};
  std::size_t _reachedCount = 0;
  std::vector<const void*> _table;
  bool _reachedNull = false;
  std::uint64_t _serial = 0; // 0: no slot asked for yet
  int _slot = kNoSlot;
};

enum class KORNotificationKind { Create, Modify, Delete };

class KORModelNotification : public KORNotification {
public:
  KORModelNotification(const char* iClassName, KORNotificationKind iKind, KORBaseUnknown* iObject,
                       int iMode, KORBaseUnknown* iFather = nullptr)
      : KORNotification(iClassName), _kind(iKind), _object(iObject), _father(iFather),
        _mode(iMode) {}
  ~KORModelNotification() override;
  const KORModelNotification* AsModelNotification() const final { return this; }

  // The model event iNotification is, or null when it is of another class.
  static const KORModelNotification* From(const KORNotification& iNotification);

  KORNotificationKind Kind() const { return _kind; }
  // The object the notification is about (its identity).
  KORBaseUnknown* Object() const { return _object.get(); }
  KORBaseUnknown* Father() const { return _father.get(); }
  int Mode() const { return _mode; }

private:
  KORNotificationKind _kind;
  KORBaseUnknown_var _object;
  KORBaseUnknown_var _father;
  int _mode;
};

class KORCreate : public KORModelNotification {
public:
  KORCreate(KORBaseUnknown* iObject, KORBaseUnknown* iFather, int iMode = 0)
      : KORModelNotification("KORCreate", KORNotificationKind::Create, iObject, iMode, iFather) {}
};
class KORModify : public KORModelNotification {
public:
  explicit KORModify(KORBaseUnknown* iObject, int iMode = 1)
      : KORModelNotification("KORModify", KORNotificationKind::Modify, iObject, iMode) {}
};
class KORDelete : public KORModelNotification {
public:
  explicit KORDelete(KORBaseUnknown* iObject, int iMode = 0)
      : KORModelNotification("KORDelete", KORNotificationKind::Delete, iObject, iMode) {}
};
