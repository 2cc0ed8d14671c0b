#pragma once
// Interfaces and objects shared by the object-model tests and their test module.
#include "objectmodel/KORImplementation.h"

class ITestOwn : public KORBaseUnknown {
  KOR_INTERFACE(ITestOwn, KORBaseUnknown)
public:
  virtual int Own() = 0;
};

class ITestElement : public KORBaseUnknown {
  KOR_INTERFACE(ITestElement, KORBaseUnknown)
public:
  virtual int Depth() = 0;
};

// Derives from ITestElement: asking an extension of ITestView for
// ITestElement must give the same extension.
class ITestView : public ITestElement {
  KOR_INTERFACE(ITestView, ITestElement)
public:
  virtual int ViewKind() = 0;
};

class ITestCounter : public KORBaseUnknown {
  KOR_INTERFACE(ITestCounter, KORBaseUnknown)
public:
  virtual int Increment() = 0;
};

class ITestModuleService : public KORBaseUnknown {
  KOR_INTERFACE(ITestModuleService, KORBaseUnknown)
public:
  virtual int Answer() = 0;
};
