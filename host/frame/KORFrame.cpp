#include "frame/KORFrame.h"

KORFrame* KORFrame::Current() {
  return dynamic_cast<KORFrame*>(KORGetFrameServices());
}

KORFrameScope::KORFrameScope(KORFrame& iFrame) : _previous(KORSetFrameServices(&iFrame)) {}

KORFrameScope::~KORFrameScope() {
  KORSetFrameServices(_previous);
}
