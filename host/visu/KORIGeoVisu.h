#pragma once
// The visualization extension of an element: it builds the element's
// representation when the visualization manager asks, and says what shows
// the element highlighted. KORI3DGeoVisu builds for the 3D viewer,
// KORI2DGeoVisu for the 2D schematic. KORExtIVisu is the host's base of such
// extensions; it gives the default highlight.
#include "objectmodel/KORExtension.h"
#include "visu/KORHighlightPath.h"
#include "visu/KORRep.h"

#include <memory>

enum class KORVisDimension { ThreeD = 0, TwoD = 1 };

struct KORMesh;
struct KORImage;

// What an extension may ask while it builds or highlights. Reps of other
// elements come from the manager's cache; asking for them records that this
// element's rep gathers them, so that their change rebuilds this one too.
class KORVisBuildContext {
public:
  // iElement's rep of the dimension being built (one reference), null when
  // the element has no visualization extension of it or draws nothing.
  virtual KORRep_var BuildChildRep(KORBaseUnknown* iElement) = 0;
  // Says that the rep being built reads iElement without gathering its rep:
  // a change of iElement rebuilds it too.
  virtual void DependsOn(KORBaseUnknown* iElement) = 0;
  // The rep cached for iElement (no reference), null when none.
  virtual KORRep* GetCurrentRep(KORBaseUnknown* iElement) = 0;
  // A model or picture of the resources by file name (found through
  // KORGetImagePathName, read once); null when missing or unreadable.
  virtual std::shared_ptr<const KORMesh> ReadModel(const char* iFileName) = 0;
  virtual std::shared_ptr<const KORImage> ReadImage(const char* iFileName) = 0;
  // Runs the highlight of the object at iPosition of iPath (0-based).
  [[nodiscard]] virtual HRESULT HighlightAt(const KORPathElement& iPath, int iPosition,
                                            KORHighlightPath& ioHighlight) = 0;

protected:
  ~KORVisBuildContext() = default;
};

class KORIGeoVisu : public KORBaseUnknown {
  KOR_INTERFACE(KORIGeoVisu, KORBaseUnknown)
public:
  // A new representation (one reference, owned by the caller) or null when
  // the element is not drawn.
  virtual KORRep* BuildRep(KORVisBuildContext& iContext) = 0;
  // This element is iPath's object at iPosition; adds the reps that show the
  // selection to ioHighlight.
  [[nodiscard]] virtual HRESULT BuildHighlightLook(KORVisBuildContext& iContext,
                                                   const KORPathElement& iPath, int iPosition,
                                                   KORHighlightPath& ioHighlight) = 0;
};
class KORI3DGeoVisu : public KORIGeoVisu {
  KOR_INTERFACE(KORI3DGeoVisu, KORIGeoVisu)
};
class KORI2DGeoVisu : public KORIGeoVisu {
  KOR_INTERFACE(KORI2DGeoVisu, KORIGeoVisu)
};
KOR_DECLARE_VAR(KORIGeoVisu)

// The host's default highlight: a path going deeper is handed to its next
// object; a path ending here highlights the element's whole rep.
[[nodiscard]] HRESULT KORDefaultHighlight(KORVisBuildContext& iContext, const KORPathElement& iPath,
                                          int iPosition, KORHighlightPath& ioHighlight);

template <class I> class KORExtIVisu : public KORExtensionOf<I> {
public:
  [[nodiscard]] HRESULT BuildHighlightLook(KORVisBuildContext& iContext,
                                           const KORPathElement& iPath, int iPosition,
                                           KORHighlightPath& ioHighlight) override {
    return KORDefaultHighlight(iContext, iPath, iPosition, ioHighlight);
  }
};
