#pragma once
// Installation descriptions and the configuration model: building a
// description into a document through the element factory and the element
// interfaces, and reading a document's configuration back into a description.
#include "KORVrcDescription.h"
#include "interfaces/KORIVrcFactory.h"

// Builds iDescription, already checked by KORVrcReadDescription, in the order
// of the format's import steps. iFactory belongs to a document without
// configuration: its first request makes the default configuration that the
// description then fills. On failure oError names the element that could not
// be built; the document is then incomplete and should be discarded.
[[nodiscard]] HRESULT KORVrcBuildDescription(const KORVrcDescription& iDescription,
                                             KORIVrcFactory* iFactory, std::string& oError);

// The description of the configuration of iFactory's document: radians become
// degrees, placements heading, pitch and roll, angles rounded to 1e-9 degree
// so that the degrees a user wrote come back exactly. A tracker offset equal to
// its recommended offset is written "best". Fails, with oError, on what the
// format cannot hold (a tracker whose name is not a number from 0 to 15, a
// tracker following an element other than the configuration's head or hand
// device).
[[nodiscard]] HRESULT KORVrcDescribe(KORIVrcFactory* iFactory, KORVrcDescription& oDescription,
                                     std::string& oError);

// The model's answer, asked of a scratch document: whether GetBestOffset
// succeeds for such a tracker. Answers are remembered per combination.
bool KORVrcModelHasBestOffset(KORVrcTrackingStationType iStationType, KORVrcTracks iTracks,
                              KORVrcHeadType iHeadType, KORVrcHandDeviceType iHandType);
