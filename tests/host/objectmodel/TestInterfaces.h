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

// A base that is not an interface, placed first: the KORBaseUnknown part of
// ITestPayloadCarrier does not start at the interface's address, and its
// second virtual function sits where AddRef sits in an interface.
class TestPayload {
public:
  virtual int Payload() { return 5; }
  virtual int Spare() { return 0; }

protected:
  ~TestPayload() = default;
};

class ITestPayloadCarrier : public TestPayload, public KORBaseUnknown {
  KOR_INTERFACE(ITestPayloadCarrier, KORBaseUnknown)
public:
  virtual int Carried() = 0;
};

// Answered by no class: a table row naming it names a wrong extension.
class ITestNobody : public KORBaseUnknown {
  KOR_INTERFACE(ITestNobody, KORBaseUnknown)
public:
  virtual int Nothing() = 0;
};
