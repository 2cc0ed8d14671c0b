#include "frame/KORFrame.h"

KORFrame* KORFrame::Current() {
  return dynamic_cast<KORFrame*>(KORGetFrameServices());
}

KORFrameScope::KORFrameScope(KORFrame& iFrame)
    : _previous(KORSetFrameServices(&iFrame)), _visManagerScope(iFrame.VisManager()),
      _layoutScope(iFrame.Layout()) {}

KORFrameScope::~KORFrameScope() {
  KORSetFrameServices(_previous);
}
