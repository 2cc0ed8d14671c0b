#pragma once
// Scene writers: a representation tree as a file people open.
//
// KORWriteRepText prints the tree as indented text, one rep or primitive a
// line, numbers rounded to 3 decimals (for diffs and tests). KORWriteGlb
// writes the 3D reps as binary glTF 2.0: one node per rep (named after the
// element it shows), lines, polygons and shapes as meshes with one unlit
// material per colour and transparency, millimetres converted to metres and
// the Z-up model frame turned to glTF's Y-up. KORWriteSvg draws the 2D reps
// (bags, custom reps with pictures and texts, polygons) as SVG with y upward
// on the page. docs/scene-files.md describes the three layouts.
#include "visu/KORRep.h"

#include <ostream>
#include <string>

void KORWriteRepText(const KORRep& iRoot, std::ostream& oStream);
[[nodiscard]] HRESULT KORWriteGlb(const KORRep& iRoot, std::ostream& oStream, std::string& oError);
[[nodiscard]] HRESULT KORWriteSvg(const KORRep& iRoot, std::ostream& oStream, std::string& oError);
