#pragma once
// Knowledge parameters: typed values with a unit, which a spinner shows in the
// unit people type. A length is held and shown in millimetres; an angle is
// held in radians and shown in degrees.
#include "system/KORString.h"

#include <numbers>

enum class KORParameterKind { Length, Angle };

class KORKnowledgeParameter {
public:
  KORKnowledgeParameter(const KORString& iName, KORParameterKind iKind)
      : _name(iName), _kind(iKind) {}

  const KORString& GetName() const { return _name; }
  KORParameterKind GetKind() const { return _kind; }
  // In the held unit (millimetres, radians).
  double GetValue() const { return _value; }
  void SetValue(double iValue) { _value = iValue; }
  // In the shown unit (millimetres, degrees).
  double GetShownValue() const { return _value * ShownPerHeld(); }
  void SetShownValue(double iValue) { _value = iValue / ShownPerHeld(); }
  const char* GetUnitSymbol() const { return _kind == KORParameterKind::Angle ? "deg" : "mm"; }

private:
  double ShownPerHeld() const {
    return _kind == KORParameterKind::Angle ? 180.0 / std::numbers::pi : 1.0;
  }
  KORString _name;
  KORParameterKind _kind;
  double _value = 0.0;
};
