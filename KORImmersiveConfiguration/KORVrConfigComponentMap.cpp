// The component map of the module: which extension implements which interface
// on which late type. The host registers this table when it loads the module
// "KORVrConfig"; nothing else in the module registers behaviour. The table
// also names the module's trace modules and its resource folder.
#include "system/KORModule.h"
#include "vr/KORIVRRuntimeInfo.h"

#include "KOREVrc2DVisu.h"
#include "KOREVrc3DCompassSnap.h"
#include "KOREVrc3DVisu.h"
#include "KOREVrcButtonDevice.h"
#include "KOREVrcCameraView.h"
#include "KOREVrcConfig.h"
#include "KOREVrcConfigure.h"
#include "KOREVrcContainerProjectFlag.h"
#include "KOREVrcCutAndPastable.h"
#include "KOREVrcDecomposition.h"
#include "KOREVrcDevices.h"
#include "KOREVrcEditElem.h"
#include "KOREVrcElementLifeCycle.h"
#include "KOREVrcExportService.h"
#include "KOREVrcFactory.h"
#include "KOREVrcGraphicResources.h"
#include "KOREVrcGraphicSpecs.h"
#include "KOREVrcHandDevice.h"
#include "KOREVrcHead.h"
#include "KOREVrcIG.h"
#include "KOREVrcInit.h"
#include "KOREVrcJournalNaming.h"
#include "KOREVrcModelEvents.h"
#include "KOREVrcNavigNode.h"
#include "KOREVrcNavigateObject.h"
#include "KOREVrcOrientation.h"
#include "KOREVrcProjectionArea.h"
#include "KOREVrcRegion.h"
#include "KOREVrcRendering.h"
#include "KOREVrcRenderingSpec.h"
#include "KOREVrcScreenView.h"
#include "KOREVrcSelectMove3D.h"
#include "KOREVrcTrackedElement.h"
#include "KOREVrcTracker.h"
#include "KOREVrcTrackingStation.h"
#include "KOREVrcViewport.h"
#include "KOREVrcVisuRefreshOnElement.h"
#include "KOREVrcWindow.h"
#include "KOREVrcXML.h"
#include "KORVrcTrace.h"
#include "KORVrcWorkbench.h"

namespace {
constexpr KORExtensionKind Data = KORExtensionKind::Data;
constexpr KORExtensionKind Code = KORExtensionKind::Code;

#define KOR_ROW(LateType, Extension, Interface, Kind)                                              \
  { LateType, #Extension, Interface::IID, Kind, &KORMakeExtension<Extension> }
// A tree node answers both node interfaces.
#define KOR_NODE_ROWS(Kind)                                                                        \
  KOR_ROW("KORVrc" #Kind "_node", KOREVrc##Kind##Node, KORINavigModify, Data),                     \
      KOR_ROW("KORVrc" #Kind "_node", KOREVrc##Kind##Node, KORINavigElement, Data)

const KORLateTypeRow kLateTypes[] = {
    {"VrcContainer", "KORFeatCont"},
    {"KORApplicationFrame", ""},
    {"KORVrcWorkbench_init", ""},
    {"KORVrcWorkbenchTransition", ""},
    // The tree's node types derive as the element types do.
    {"KORVrcElement_node", "KORFeature_node"},
    {"KORVrcTrackedElement_node", "KORVrcElement_node"},
    {"KORVrcButtonDevice_node", "KORVrcElement_node"},
    {"KORVrcConfig_node", "KORVrcElement_node"},
    {"KORVrcDevices_node", "KORVrcElement_node"},
    {"KORVrcGraphicResources_node", "KORVrcElement_node"},
    {"KORVrcGraphicSpecs_node", "KORVrcElement_node"},
    {"KORVrcHandDevice_node", "KORVrcTrackedElement_node"},
    {"KORVrcHead_node", "KORVrcTrackedElement_node"},
    {"KORVrcIG_node", "KORVrcElement_node"},
    {"KORVrcTracker_node", "KORVrcElement_node"},
    {"KORVrcTrackingStation_node", "KORVrcElement_node"},
    {"KORVrcView_node", "KORVrcElement_node"},
    {"KORVrcWindow_node", "KORVrcElement_node"},
};

const KORExtensionRow kExtensions[] = {
    // The configuration container.
    KOR_ROW("VrcContainer", KOREVrcInit, KORInit, Code),
    KOR_ROW("VrcContainer", KOREVrcContainerProjectFlag, KORIProjectFlag, Code),
    KOR_ROW("VrcContainer", KOREVrcModelEvents, KORIModelEvents, Code),
    KOR_ROW("VrcContainer", KOREVrcContCutAndPastable, KORICutAndPastable, Code),
    // The design document.
    KOR_ROW("KORProduct", KOREVrcFactory, KORIVrcFactory, Code),
    KOR_ROW("KORProduct", KOREVrcOrientation, KORIVrcOrientation, Code),
    KOR_ROW("KORProduct", KOREVrcJournalNaming, KORIJournalNaming, Code),
    // Every element.
    KOR_ROW("KORVrcElement", KOREVrcFactory, KORIVrcFactory, Code),
    KOR_ROW("KORVrcElement", KOREVrcVisuRefreshOnElement, KORIVrcVisuRefreshOnElement, Data),
    KOR_ROW("KORVrcElement", KOREVrcElementLifeCycle, LifeCycleObject, Data),
    KOR_ROW("KORVrcElement", KOREVrcModelEvents, KORIModelEvents, Code),
    KOR_ROW("KORVrcElement", KOREVrcCutAndPastable, KORICutAndPastable, Code),
    KOR_ROW("KORVrcElement", KOREVrcCutAndPastable, KORICSOFilter, Code),
    KOR_ROW("KORVrcElement", KOREVrcEditElem, KORIEdit, Code),
    // Each element kind.
    KOR_ROW("KORVrcConfig", KOREVrcConfig, KORIVrcConfig, Code),
    KOR_ROW("KORVrcConfig", KOREVrcConfig, KORIVrcElement, Code),
    KOR_ROW("KORVrcConfig", KOREVrcConfigure, KORIVrcConfigure, Data),
    KOR_ROW("KORVrcConfig", KOREVrcXML, KORIVrcXML, Data),
    KOR_ROW("KORVrcConfig", KOREVrcExportService, KORIVrcExportService, Code),
    KOR_ROW("KORVrcGraphicResources", KOREVrcGraphicResources, KORIVrcGraphicResources, Code),
    KOR_ROW("KORVrcGraphicResources", KOREVrcGraphicResources, KORIVrcElement, Code),
    KOR_ROW("KORVrcIG", KOREVrcIG, KORIVrcIG, Code),
    KOR_ROW("KORVrcIG", KOREVrcIG, KORIVrcElement, Code),
    KOR_ROW("KORVrcWindow", KOREVrcWindow, KORIVrcWindow, Code),
    KOR_ROW("KORVrcWindow", KOREVrcWindow, KORIVrcElement, Code),
    KOR_ROW("KORVrcViewport", KOREVrcViewport, KORIVrcViewport, Code),
    KOR_ROW("KORVrcViewport", KOREVrcViewport, KORIVrcElement, Code),
    KOR_ROW("KORVrcGraphicSpecs", KOREVrcGraphicSpecs, KORIVrcGraphicSpecs, Code),
    KOR_ROW("KORVrcGraphicSpecs", KOREVrcGraphicSpecs, KORIVrcElement, Code),
    // Views are data extensions: the graphic specs' representation lists every view on
    // each rebuild, and a code extension would be made and freed per query.
    KOR_ROW("KORVrcScreenView", KOREVrcScreenView, KORIVrcScreenView, Data),
    KOR_ROW("KORVrcScreenView", KOREVrcScreenView, KORIVrcView, Data),
    KOR_ROW("KORVrcScreenView", KOREVrcScreenView, KORIVrcElement, Data),
    KOR_ROW("KORVrcCameraView", KOREVrcCameraView, KORIVrcCameraView, Data),
    KOR_ROW("KORVrcCameraView", KOREVrcCameraView, KORIVrcView, Data),
    KOR_ROW("KORVrcCameraView", KOREVrcCameraView, KORIVrcElement, Data),
    KOR_ROW("KORVrcProjectionArea", KOREVrcProjectionArea, KORIVrcProjectionArea, Code),
    KOR_ROW("KORVrcProjectionArea", KOREVrcProjectionArea, KORIVrcElement, Code),
    KOR_ROW("KORVrcTrackedElement", KOREVrcTrackedElement, KORIVrcTrackedElement, Code),
    KOR_ROW("KORVrcTrackedElement", KOREVrcTrackedElement, KORIVrcElement, Code),
    KOR_ROW("KORVrcHead", KOREVrcHead, KORIVrcHead, Code),
    KOR_ROW("KORVrcRendering", KOREVrcRendering, KORIVrcRendering, Code),
    KOR_ROW("KORVrcRendering", KOREVrcRendering, KORIVrcElement, Code),
    KOR_ROW("KORVrcRenderingSpec", KOREVrcRenderingSpec, KORIVrcRenderingSpec, Code),
    KOR_ROW("KORVrcRenderingSpec", KOREVrcRenderingSpec, KORIVrcElement, Code),
    KOR_ROW("KORVrcRegion", KOREVrcRegion, KORIVrcRegion, Code),
    KOR_ROW("KORVrcRegion", KOREVrcRegion, KORIVrcElement, Code),
    KOR_ROW("KORVrcDecomposition", KOREVrcDecomposition, KORIVrcDecomposition, Code),
    KOR_ROW("KORVrcDecomposition", KOREVrcDecomposition, KORIVrcElement, Code),
    KOR_ROW("KORVrcDevices", KOREVrcDevices, KORIVrcDevices, Code),
    KOR_ROW("KORVrcDevices", KOREVrcDevices, KORIVrcElement, Code),
    KOR_ROW("KORVrcTrackingStation", KOREVrcTrackingStation, KORIVrcTrackingStation, Code),
    KOR_ROW("KORVrcTrackingStation", KOREVrcTrackingStation, KORIVrcElement, Code),
    KOR_ROW("KORVrcTracker", KOREVrcTracker, KORIVrcTracker, Code),
    KOR_ROW("KORVrcTracker", KOREVrcTracker, KORIVrcElement, Code),
    KOR_ROW("KORVrcButtonDevice", KOREVrcButtonDevice, KORIVrcButtonDevice, Code),
    KOR_ROW("KORVrcButtonDevice", KOREVrcButtonDevice, KORIVrcElement, Code),
    KOR_ROW("KORVrcHandDevice", KOREVrcHandDevice, KORIVrcHandDevice, Code),
    // 3D representations.
    KOR_ROW("VrcContainer", KOREVrc3DVisuContainer, KORI3DGeoVisu, Data),
    KOR_ROW("KORVrcConfig", KOREVrc3DVisuConfig, KORI3DGeoVisu, Data),
    KOR_ROW("KORVrcGraphicResources", KOREVrc3DVisuGraphicResources, KORI3DGeoVisu, Data),
    KOR_ROW("KORVrcGraphicSpecs", KOREVrc3DVisuGraphicSpecs, KORI3DGeoVisu, Data),
    KOR_ROW("KORVrcDevices", KOREVrc3DVisuDevices, KORI3DGeoVisu, Data),
    KOR_ROW("KORVrcScreenView", KOREVrc3DVisuScreenView, KORI3DGeoVisu, Data),
    KOR_ROW("KORVrcCameraView", KOREVrc3DVisuCameraView, KORI3DGeoVisu, Data),
    KOR_ROW("KORVrcHead", KOREVrc3DVisuHead, KORI3DGeoVisu, Data),
    KOR_ROW("KORVrcHandDevice", KOREVrc3DVisuHandDevice, KORI3DGeoVisu, Data),
    KOR_ROW("KORVrcTracker", KOREVrc3DVisuTracker, KORI3DGeoVisu, Data),
    KOR_ROW("KORVrcTrackingStation", KOREVrc3DVisuTrackingStation, KORI3DGeoVisu, Data),
    // 2D schematic.
    KOR_ROW("VrcContainer", KOREVrc2DVisuContainer, KORI2DGeoVisu, Data),
    KOR_ROW("KORVrcConfig", KOREVrc2DVisuConfig, KORI2DGeoVisu, Data),
    KOR_ROW("KORVrcGraphicResources", KOREVrc2DVisuGraphicResources, KORI2DGeoVisu, Data),
    KOR_ROW("KORVrcIG", KOREVrc2DVisuIG, KORI2DGeoVisu, Data),
    KOR_ROW("KORVrcWindow", KOREVrc2DVisuWindow, KORI2DGeoVisu, Data),
    // Direct manipulation in 3D: dragging keeps the start values between
    // BeginMove and EndMove, hence data extensions.
    KOR_ROW("KORVrcTracker", KOREVrcSelectMove3DOnTracker, KORISelectMove3D, Data),
    KOR_ROW("KORVrcTrackingStation", KOREVrcSelectMove3DOnTrackingStation, KORISelectMove3D, Data),
    KOR_ROW("KORVrcScreenView", KOREVrcSelectMove3dOnScreenView, KORISelectMove3D, Data),
    KOR_ROW("KORVrcTracker", KOREVrc3DCompassSnapOnTracker, KORI3DCompassSnap, Code),
    KOR_ROW("KORVrcTrackingStation", KOREVrc3DCompassSnapOnTrackingStation, KORI3DCompassSnap,
            Code),
    // Specification-tree navigation.
    KOR_ROW("VrcContainer", KOREVrcNavigateObjectOnVrcCont, KORINavigateObject, Data),
    KOR_ROW("KORVrcConfig", KOREVrcNavigateObjectOnConfig, KORINavigateObject, Data),
    KOR_ROW("KORVrcGraphicResources", KOREVrcNavigateObjectOnGraphicResources, KORINavigateObject,
            Data),
    KOR_ROW("KORVrcGraphicSpecs", KOREVrcNavigateObjectOnGraphicSpecs, KORINavigateObject, Data),
    KOR_ROW("KORVrcDevices", KOREVrcNavigateObjectOnDevices, KORINavigateObject, Data),
    KOR_ROW("KORVrcIG", KOREVrcNavigateObjectOnIG, KORINavigateObject, Data),
    KOR_ROW("KORVrcWindow", KOREVrcNavigateObjectOnWindow, KORINavigateObject, Data),
    KOR_ROW("KORVrcView", KOREVrcNavigateObjectOnView, KORINavigateObject, Data),
    KOR_ROW("KORVrcTrackingStation", KOREVrcNavigateObjectOnTrackingStation, KORINavigateObject,
            Data),
    KOR_ROW("KORVrcButtonDevice", KOREVrcNavigateObjectOnButtonDevice, KORINavigateObject, Data),
    KOR_ROW("KORVrcTrackedElement", KOREVrcNavigateObjectOnTrackedElement, KORINavigateObject,
            Data),
    // The workbench.
    KOR_ROW("KORApplicationFrame", KORVrcWorkbenchFactory, KORIVrcWorkbenchFactory, Code),
    KOR_ROW("KORApplicationFrame", KORVrcWorkbenchFactory, KORIGenericFactory, Code),
    KOR_ROW("KORVrcWorkbench_init", KORVrcWorkbenchCommandSet, KORICommandSet, Data),
    KOR_ROW("KORVrcWorkbenchTransition", KOREVrcWorkbenchTransition, KORIWorkbenchTransition, Data),
    KOR_ROW("KORVrcView", KOREVrcNavigateModifyOnView, KORINavigateObjectModify, Data),
    // Specification-tree nodes.
    KOR_NODE_ROWS(ButtonDevice),
    KOR_NODE_ROWS(Config),
    KOR_NODE_ROWS(Devices),
    KOR_NODE_ROWS(GraphicResources),
    KOR_NODE_ROWS(GraphicSpecs),
    KOR_NODE_ROWS(HandDevice),
    KOR_NODE_ROWS(Head),
    KOR_NODE_ROWS(IG),
    KOR_NODE_ROWS(Tracker),
    KOR_NODE_ROWS(TrackingStation),
    KOR_NODE_ROWS(View),
    KOR_NODE_ROWS(Window),
};

// Only a tracker that follows an element can be dragged.
const KORDragConditionRow kDragConditions[] = {
    {"KORVrcTracker", "KORVrcConditionsSelectMove3DOnTrackers"},
};

// The immersive runtime's information, by the name the test-tracking command
// asks the host's component factory for.
const KORComponentRow kComponents[] = {{"KORVrcInfo", &KORVRCreateRuntimeInfo}};

const KORTraceModuleRow kTraceModules[] = {
    {KORVrcModelTraceName, "Traces for module KORVrcModel", "STDERR"},
    {KORVrcViewTraceName, "Traces for module KORVrcView", "STDERR"},
    {KORVrcControllerTraceName, "Traces for module KORVrcController", "STDERR"},
};

// KORVRC_RESOURCE_FOLDER: the resources as a path from the library's folder.
const KORModuleTable kComponentMap{"KORVrConfig",   kLateTypes,
                                   kExtensions,     kComponents,
                                   kTraceModules,   KORVRC_RESOURCE_FOLDER,
                                   kDragConditions};
} // namespace

extern "C" const KORModuleTable* KORModuleEntry() {
  return &kComponentMap;
}
