#include "command/KORCommandEnvironment.h"

KORCommandEnvironment* KORCommandEnvironment::Current() {
  auto* frame = dynamic_cast<KORICommandFrame*>(KORGetFrameServices());
  return frame ? &frame->CommandEnvironment() : nullptr;
}
