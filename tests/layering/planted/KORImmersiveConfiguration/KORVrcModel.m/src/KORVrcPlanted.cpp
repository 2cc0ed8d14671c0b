// Model code that shows a dialog itself: the include below must be reported.
#include "dialog/KORMessageBox.h"
#include "system/KORFrameServices.h"
