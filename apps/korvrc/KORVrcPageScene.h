#pragma once
// The 3D scene as the browser's 3D view loads it (docs/serve.md): one piece
// per element that journals can name, each the element's own drawing (its
// rep without the reps of other elements it gathers, placed where the scene
// places it) in a glTF node named by the element's journal name, so that the
// page maps a mesh to the line it sends. Each piece has a version that
// changes only when what the piece draws changes, so the page reloads the
// pieces whose version moved instead of the whole scene.
//
// The reps come from a visualization manager of its own that follows the
// document's model events: a piece is written again only when a rep under
// it was rebuilt, and its version moves only when the written bytes differ
// (a station rebuilt because one of its trackers moved draws the same).
// Used from the frame's thread only.
#include "command/KORIJournalNaming.h"
#include "featurestore/KORDocument.h"
#include "frame/KORFrame.h"
#include "visu/KORVisManager.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class KORVrcPageScene {
public:
  explicit KORVrcPageScene(KORFrame& iFrame);
  KORVrcPageScene(const KORVrcPageScene&) = delete;
  KORVrcPageScene& operator=(const KORVrcPageScene&) = delete;
  ~KORVrcPageScene();

  // Follows iDocument, whose configuration container is iContainer.
  [[nodiscard]] HRESULT Attach(KORDocument* iDocument, KORBaseUnknown* iContainer,
                               std::string& oError);

  // {"elements": [{"name", "version", "draggable"}], "commandRunning": bool},
  // the pieces in the scene's order; "commandRunning" says that a click in
  // the view is offered to the running command as a pick.
  std::string GetSceneJSON();

  // Binary glTF of the named pieces, each a child of the scene's root node;
  // all pieces when iNames is empty. E_INVALIDARG, naming it in oError, when
  // a name is not in the scene.
  [[nodiscard]] HRESULT GetGlb(const std::vector<std::string>& iNames, std::string& oGlb,
                               std::string& oError);

private:
  struct Piece;
  struct Gathered;
  void Update();
  void Gather(KORRep& iRep, const Eigen::Matrix4d& iPlacement,
              const std::map<const KORRep*, KORBaseUnknown*>& iOwners,
              std::map<std::string, Gathered>& ioGathered, std::vector<std::string>& ioOrder);

  KORFrame& _frame;
  KORVisManager _manager;
  KORBaseUnknown_var _container;
  KORSmartPtr<KORIJournalNaming> _naming;
  std::map<std::string, Piece> _pieces;
  std::vector<std::string> _order; // the pieces' names in the scene's order
  std::uint64_t _lastVersion = 0;
};
