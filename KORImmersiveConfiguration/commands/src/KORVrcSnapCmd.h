#pragma once
// Joins two screens along an edge: the user picks a first screen in the 3D
// viewer near one of its edges, then a second screen near one of its edges;
// the first screen's projection area is rebuilt so that its picked edge lies
// on the second's, hinged there at an angle taken from the two screens'
// normals. Only the first screen changes. No dialog; picks in the tree, of
// other objects, of a screen without projection area, and of the first
// screen again are refused silently and the command waits on.
//
// Corners are single-precision points. Edges are numbered as IndexMax gives
// them (1 top, 2 left, 3 bottom, 4 right), each running counter-clockwise
// seen from the screen's front: top from UR to UL, left from UL to LL,
// bottom from LL to LR, right from LR to UR.
#include "command/KORStateCommand.h"
#include "interfaces/KORIVrcProjectionArea.h"
#include "interfaces/KORIVrcScreenView.h"

#include <Eigen/Core>

#include <optional>

using KORVrcPointf = Eigen::Vector3f;

class KORVrcSnapCmd : public KORStateCommand {
public:
  KORVrcSnapCmd();
  void BuildGraph() override;

  // LL, LR and UL read from iArea, UR = UL + LR - LL; false when an argument
  // is null or a corner cannot be read.
  static bool RetrieveScreenCorners(KORIVrcProjectionArea* iArea, KORVrcPointf* oLL,
                                    KORVrcPointf* oLR, KORVrcPointf* oUR, KORVrcPointf* oUL);
  // The edge that subtends the largest angle at iPoint, which is the edge
  // nearest to it, with iC1 = UL, iC2 = UR, iC3 = LL, iC4 = LR; the first of
  // equal angles wins. 0 when an argument is null or no angle is positive.
  static int IndexMax(const KORVrcPointf* iPoint, const KORVrcPointf* iC1,
                      const KORVrcPointf* iC2, const KORVrcPointf* iC3, const KORVrcPointf* iC4);

private:
  struct Pick {
    KORIVrcScreenView_var screen;
    KORIVrcProjectionArea_var area;
    std::optional<KORVrcPointf> point;
    bool IsComplete() const { return screen && area && point; }
    void Clear() { *this = Pick(); }
  };

  bool CheckAndSaveFirstScreen(void*);
  bool CheckAndSaveSecondScreen(void*);
  // The screen the agent holds, picked in the 3D viewer, with its
  // projection area and the picked point; false (iPick untouched) otherwise.
  bool RetrieveScreenAndPoint(Pick& oPick) const;
  bool Snap(void*);
  void TraceMethod(const char* iMethod) const;

  KORPathElementAgent* _agent = nullptr;
  Pick _first;
  Pick _second;
};

extern "C" KORCommand* fctCreateKORVrcSnapCmd(void* iArgument);
