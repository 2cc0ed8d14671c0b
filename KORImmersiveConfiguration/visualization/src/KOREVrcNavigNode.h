#pragma once
// The specification tree's node of each element kind, and the path a view
// picked in the tree sends to the commands.
#include "tree/KORINavigateObjectModify.h"
#include "tree/KORNavigNode.h"

// Every kind's node updates the same way; the class names differ so that
// the traces say which kind's node updated.
template <const char* ClassName> class KOREVrcNode : public KORNodeExtension {
public:
  HRESULT UpdateElem(KORNavigInstance* iInstance) override;
};

namespace KORVrcNodeNames {
inline constexpr char ButtonDevice[] = "KOREVrcButtonDeviceNode";
inline constexpr char Config[] = "KOREVrcConfigNode";
inline constexpr char Devices[] = "KOREVrcDevicesNode";
inline constexpr char GraphicResources[] = "KOREVrcGraphicResourcesNode";
inline constexpr char GraphicSpecs[] = "KOREVrcGraphicSpecsNode";
inline constexpr char HandDevice[] = "KOREVrcHandDeviceNode";
inline constexpr char Head[] = "KOREVrcHeadNode";
inline constexpr char IG[] = "KOREVrcIGNode";
inline constexpr char Tracker[] = "KOREVrcTrackerNode";
inline constexpr char TrackingStation[] = "KOREVrcTrackingStationNode";
inline constexpr char View[] = "KOREVrcViewNode";
inline constexpr char Window[] = "KOREVrcWindowNode";
} // namespace KORVrcNodeNames

using KOREVrcButtonDeviceNode = KOREVrcNode<KORVrcNodeNames::ButtonDevice>;
using KOREVrcConfigNode = KOREVrcNode<KORVrcNodeNames::Config>;
using KOREVrcDevicesNode = KOREVrcNode<KORVrcNodeNames::Devices>;
using KOREVrcGraphicResourcesNode = KOREVrcNode<KORVrcNodeNames::GraphicResources>;
using KOREVrcGraphicSpecsNode = KOREVrcNode<KORVrcNodeNames::GraphicSpecs>;
using KOREVrcHandDeviceNode = KOREVrcNode<KORVrcNodeNames::HandDevice>;
using KOREVrcHeadNode = KOREVrcNode<KORVrcNodeNames::Head>;
using KOREVrcIGNode = KOREVrcNode<KORVrcNodeNames::IG>;
using KOREVrcTrackerNode = KOREVrcNode<KORVrcNodeNames::Tracker>;
using KOREVrcTrackingStationNode = KOREVrcNode<KORVrcNodeNames::TrackingStation>;
using KOREVrcViewNode = KOREVrcNode<KORVrcNodeNames::View>;
using KOREVrcWindowNode = KOREVrcNode<KORVrcNodeNames::Window>;

// A view picked in the tree: the path from the current editor's document's
// first root through the view's fathers down to the view.
class KOREVrcNavigateModifyOnView : public KORExtensionOf<KORINavigateObjectModify> {
public:
  KORPathElement* DecodeSentCommand(unsigned char& oDecodeNextElement) override;
};
