#pragma once
// Edits one tracker (trackers are made and removed by the tracking station's
// command): the element it follows, whether it is the head's viewpoint
// tracker or the hand device's picking tracker, whether it is the hand
// device's button manager, and its offset, which the push button replaces
// with the best offset the model knows for the followed element and the
// station's kind. Choosing another followed element writes it at once and
// proposes its best offset. Cancel gives back the offset, the followed
// element and the roles of the head and the hand device as they were at
// start. Started without tracker, the command ends at once.
#include "KORVrcEditCmd.h"
#include "KORVrcTrackerDlg.h"
#include "featurestore/KORISpecObject.h"
#include "interfaces/KORIVrcHandDevice.h"
#include "interfaces/KORIVrcHead.h"
#include "interfaces/KORIVrcTrackedElement.h"
#include "interfaces/KORIVrcTracker.h"

class KORVrcTrackerCmd : public KORVrcEditCmd {
public:
  explicit KORVrcTrackerCmd(KORIVrcTracker* iTracker);

protected:
  KORDlgDialog* BuildDialog() override;
  void AddKindAgents() override;
  void InitDialog() override;
  bool WriteValues() override;
  void SaveValues() override;
  bool RestoreValues() override;

private:
  bool ModifyTrackedElement(void*);
  bool OnPushButtonGenerate(void*);
  // Whether the tracker's station can take buttons on this tracker.
  bool CanManageButtons() const;
  bool IsViewPointTracker() const;
  bool IsPickingTracker() const;
  bool HasBestOffset() const;
  KORUnicodeString ComposeCaption() const;

  KORIVrcTracker_var _tracker;
  KORVrcTrackerDlg* _trackerDialog = nullptr;
  KORIVrcHead_var _head;
  KORIVrcHandDevice_var _hand;
  KORUnicodeString _caption;
  // As read at start, for Cancel.
  KORMathTransformation _savedOffset;
  KORIVrcTrackedElement_var _savedTrackedElement;
  KORIVrcTracker_var _savedViewPointTracker;
  KORIVrcTracker_var _savedPickingTracker;
  KORISpecObject_var _savedButtonManager;
  bool _written = false; // OK, Apply or a change of followed element wrote
};
