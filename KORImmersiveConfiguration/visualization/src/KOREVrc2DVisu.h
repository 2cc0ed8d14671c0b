#pragma once
// The 2D schematic of the graphics hardware: one screen picture per image
// generator, six to a row, its name above it, and inside its screen area one
// rectangle per window at the window's viewport. The container, the
// configuration root and the graphic resources gather their children's
// schematic reps; graphic specifications and devices are not drawn.
#include "visu/KORIGeoVisu.h"

#define KOR_2D_VISU(Name)                                                                          \
  class Name : public KORExtIVisu<KORI2DGeoVisu> {                                                 \
  public:                                                                                          \
    KORRep* BuildRep(KORVisBuildContext& iContext) override;                                       \
    HRESULT BuildHighlightLook(KORVisBuildContext& iContext, const KORPathElement& iPath,          \
                               int iPosition, KORHighlightPath& ioHighlight) override;             \
  };

KOR_2D_VISU(KOREVrc2DVisuContainer)
KOR_2D_VISU(KOREVrc2DVisuConfig)
KOR_2D_VISU(KOREVrc2DVisuGraphicResources)
KOR_2D_VISU(KOREVrc2DVisuIG)

class KOREVrc2DVisuWindow : public KORExtIVisu<KORI2DGeoVisu> {
public:
  KORRep* BuildRep(KORVisBuildContext& iContext) override;
};

#undef KOR_2D_VISU

// Where the schematic puts things: the picture's screen area is 211 by 107
// from (14, 11) of the picture, and the cell of the p-th image generator.
namespace KORVrcSchematic {
constexpr double kScreenLeft = 14.0, kScreenBottom = 11.0;
constexpr double kScreenWidth = 211.0, kScreenHeight = 107.0;
constexpr const char* kPicture = "VrcIGImage.bmp";
// The cell origin of the image generator at 1-based position iPosition.
Eigen::Vector2d CellOrigin(int iPosition);
} // namespace KORVrcSchematic
