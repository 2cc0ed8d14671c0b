#pragma once
// The name a viewer or the tree shows for an object that says nothing of its
// own: its "Name" attribute, else the name it was made with, else its type.
#include "objectmodel/KORBaseUnknown.h"

#include <string>

std::string KORObjectName(KORBaseUnknown* iObject);
