#pragma once
// Device events of the immersive-device service: what a tracking device
// reports about one sensor, named by the device, the event name and the
// sensor's index on the device ("Polhemus", "VIEWPORT_EVENT", 1), with the
// sensor's data as an array of doubles.
//
// The two tracking event names and their data layouts, as a subscriber reads
// them (lengths in millimetres):
//
//   "POSITION_EVENT"  16 doubles: the sensor placement as a 4x4 matrix,
//                     column by column: e[0..2], e[4..6], e[8..10] are the
//                     columns of the rotation, e[12..14] the position,
//                     e[3] = e[7] = e[11] = 0 and e[15] = 1.
//   "VIEWPORT_EVENT"  12 doubles: four points A, B, C, D (e[0..2], e[3..5],
//                     e[6..8], e[9..11]). A is the position; C - B points
//                     along the first column of the rotation and C - D along
//                     the second, the third being their cross product.
#include "math/KORMathTransformation.h"
#include "system/KORString.h"

#include <cstdint>
#include <optional>
#include <vector>

inline constexpr const char* KORVRViewportEventName = "VIEWPORT_EVENT";
inline constexpr const char* KORVRPositionEventName = "POSITION_EVENT";

class KORVRDeviceEvent {
public:
  KORVRDeviceEvent() = default;
  KORVRDeviceEvent(KORString iDeviceName, KORString iEventName, int iIndex)
      : _deviceName(std::move(iDeviceName)), _eventName(std::move(iEventName)), _index(iIndex) {}

  const KORString& GetDeviceName() const { return _deviceName; }
  const KORString& GetName() const { return _eventName; }
  int GetIndex() const { return _index; }
  // True when both name the same event of the same sensor, whatever their data.
  bool IsSameEvent(const KORVRDeviceEvent& iOther) const {
    return _index == iOther._index && _eventName == iOther._eventName &&
           _deviceName == iOther._deviceName;
  }

  const std::vector<double>& GetDoubleValue() const { return _values; }
  void SetDoubleValue(std::vector<double> iValues) { _values = std::move(iValues); }

  // The tracking frame the data comes from, and its timestamp when the device
  // sent one (seconds).
  std::uint64_t GetFrameNumber() const { return _frameNumber; }
  const std::optional<double>& GetTimestamp() const { return _timestamp; }
  void SetFrame(std::uint64_t iNumber, std::optional<double> iTimestamp) {
    _frameNumber = iNumber;
    _timestamp = iTimestamp;
  }

private:
  KORString _deviceName;
  KORString _eventName;
  int _index = 0;
  std::vector<double> _values;
  std::uint64_t _frameNumber = 0;
  std::optional<double> _timestamp;
};

// The data of each layout for the sensor placement iSensor.
std::vector<double> KORVRPositionEventData(const KORMathTransformation& iSensor);
std::vector<double> KORVRViewportEventData(const KORMathTransformation& iSensor);

// The events a dispatcher hands to one subscriber in one delivery, oldest
// first.
class KORVRNotification {
public:
  explicit KORVRNotification(std::vector<KORVRDeviceEvent> iEvents) : _events(std::move(iEvents)) {}
  const std::vector<KORVRDeviceEvent>& GetEvents() const { return _events; }
  // The last event received; null for an empty notification.
  const KORVRDeviceEvent* Newest() const { return _events.empty() ? nullptr : &_events.back(); }

private:
  std::vector<KORVRDeviceEvent> _events;
};
