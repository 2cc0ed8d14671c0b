#pragma once
// The 3D representations of the elements. The groups (container,
// configuration root, graphic resources, graphic specifications, devices)
// draw nothing of their own: their bag gathers their children's reps. The
// element kinds with a place in space draw themselves: screens (outline,
// fill, diagonals, centre cross), cameras (frustum), the head and the hand
// device (models), trackers (axis frame and status sphere) and tracking
// stations (their trackers, axis frame and cube).
#include "visu/KORIGeoVisu.h"

#define KOR_3D_VISU(Name)                                                                          \
  class Name : public KORExtIVisu<KORI3DGeoVisu> {                                                 \
  public:                                                                                          \
    KORRep* BuildRep(KORVisBuildContext& iContext) override;                                       \
    HRESULT BuildHighlightLook(KORVisBuildContext& iContext, const KORPathElement& iPath,          \
                               int iPosition, KORHighlightPath& ioHighlight) override;             \
  };
#define KOR_3D_VISU_DEFAULT_HIGHLIGHT(Name)                                                        \
  class Name : public KORExtIVisu<KORI3DGeoVisu> {                                                 \
  public:                                                                                          \
    KORRep* BuildRep(KORVisBuildContext& iContext) override;                                       \
  };

KOR_3D_VISU(KOREVrc3DVisuContainer)
KOR_3D_VISU(KOREVrc3DVisuConfig)
KOR_3D_VISU(KOREVrc3DVisuGraphicResources)
KOR_3D_VISU(KOREVrc3DVisuGraphicSpecs)
KOR_3D_VISU(KOREVrc3DVisuDevices)
KOR_3D_VISU(KOREVrc3DVisuScreenView)
KOR_3D_VISU_DEFAULT_HIGHLIGHT(KOREVrc3DVisuCameraView)
KOR_3D_VISU_DEFAULT_HIGHLIGHT(KOREVrc3DVisuHead)
KOR_3D_VISU_DEFAULT_HIGHLIGHT(KOREVrc3DVisuHandDevice)
KOR_3D_VISU(KOREVrc3DVisuTracker)
KOR_3D_VISU(KOREVrc3DVisuTrackingStation)

#undef KOR_3D_VISU
#undef KOR_3D_VISU_DEFAULT_HIGHLIGHT
