#include "KORVrcPageScene.h"

#include "command/KORIJournalNaming.h"
#include "featurestore/KORIContainer.h"
#include "featurestore/KORISpecObject.h"
#include "visu/KORSceneWriters.h"

#include <nlohmann/json.hpp>

#include <sstream>

// What a piece drew when it was last written: the element reps under it with
// their placements (held, so that a rebuilt rep never reuses an address), the
// bytes, and the version those bytes have.
struct KORVrcPageScene::Piece {
  std::vector<KORRep_var> sources;
  std::vector<Eigen::Matrix4d> placements;
  KORRep_var rep;
  std::string glb;
  std::uint64_t version = 0;
  bool draggable = false;
};

// One name's drawing as found in the scene now. Two elements that share a
// journal name share a piece: the page cannot tell them apart either, and the
// driver refuses the name.
struct KORVrcPageScene::Gathered {
  KORSmartPtr<KOR3DBagRep> rep = KORNewRep<KOR3DBagRep>();
  std::vector<KORRep_var> sources;
  std::vector<Eigen::Matrix4d> placements;
  bool draggable = false;
};

KORVrcPageScene::KORVrcPageScene(KORFrame& iFrame) : _frame(iFrame) {}

KORVrcPageScene::~KORVrcPageScene() = default;

HRESULT KORVrcPageScene::Attach(KORDocument* iDocument, KORBaseUnknown* iContainer,
                                std::string& oError) {
  if (!iContainer || FAILED(_manager.Attach(iDocument))) {
    oError = "the document's model events cannot be followed";
    return E_FAIL;
  }
  _naming = KORQuery<KORIJournalNaming>(iDocument);
  _container = KORQuery<KORBaseUnknown>(iContainer);
  return S_OK;
}

// Splits iRep into the element's own drawing and the reps of the elements it
// gathers (a group its children, a station its trackers), which get pieces of
// their own. The module's groups add their children's reps directly.
void KORVrcPageScene::Gather(KORRep& iRep, const Eigen::Matrix4d& iPlacement,
                             const std::map<const KORRep*, KORBaseUnknown*>& iOwners,
                             std::map<std::string, Gathered>& ioGathered,
                             std::vector<std::string>& ioOrder) {
  KORBaseUnknown* element = iOwners.at(&iRep);
  auto own = KORNewRep<KOR3DBagRep>();
  if (const auto* bag = dynamic_cast<const KOR3DBagRep*>(&iRep)) {
    own->SetMatrix(iPlacement * bag->GetMatrix());
    for (const KORRep_var& child : bag->GetChildren()) {
      if (iOwners.count(child.get()))
        Gather(*child, own->GetMatrix(), iOwners, ioGathered, ioOrder);
      else
        own->AddChild(child.get());
    }
  } else {
    own->SetMatrix(iPlacement);
    own->AddChild(&iRep);
  }
  // Groups and the container cannot be named; the configuration draws
  // nothing of its own.
  KORUnicodeString name;
  if (own->GetChildren().empty() || !_naming ||
      FAILED(_naming->GetJournalName(element, name)))
    return;
  auto [found, added] = ioGathered.try_emplace(name);
  Gathered& gathered = found->second;
  if (added) {
    ioOrder.push_back(name);
    gathered.rep->SetName(name);
    KORString why;
    gathered.draggable = _frame.Manipulator().CanDrag(KORPathElement{element}, why) == S_OK;
  } else {
    gathered.draggable = false;
  }
  gathered.rep->AddChild(own.get());
  gathered.sources.emplace_back(&iRep);
  gathered.placements.push_back(iPlacement);
}

void KORVrcPageScene::Update() {
  KORRep_var scene = _manager.GetRep(_container, KORVisDimension::ThreeD);
  // Which rep shows which element: every element with a 3D drawing.
  std::map<const KORRep*, KORBaseUnknown*> owners;
  std::vector<KORRep_var> reps;
  auto container = KORQuery<KORIContainer>(_container);
  KORListValKORBaseUnknown_var* listed = nullptr;
  if (container && SUCCEEDED(container->ListMembers(KORI3DGeoVisu::IID, &listed))) {
    const KOROwnedList members(listed);
    for (const KORBaseUnknown_var& member : *members) {
      auto feature = KORQuery<KORISpecObject>(member);
      if (feature && feature->IsDeleted())
        continue;
      if (KORRep_var rep = _manager.GetRep(member, KORVisDimension::ThreeD)) {
        owners.emplace(rep.get(), member.get());
        reps.push_back(rep);
      }
    }
  }
  std::map<std::string, Gathered> gathered;
  std::vector<std::string> order;
  if (scene) {
    owners.emplace(scene.get(), _container.get());
    Gather(*scene, Eigen::Matrix4d::Identity(), owners, gathered, order);
  }

  std::map<std::string, Piece> pieces;
  for (auto& [name, now] : gathered) {
    Piece piece;
    if (auto before = _pieces.find(name); before != _pieces.end())
      piece = std::move(before->second);
    piece.draggable = now.draggable;
    if (piece.rep && piece.sources == now.sources && piece.placements == now.placements) {
      pieces.emplace(name, std::move(piece));
      continue;
    }
    std::ostringstream bytes;
    std::string error;
    // A piece that cannot be written is sent as it was last written.
    if (SUCCEEDED(KORWriteGlb(*now.rep, bytes, error)) && bytes.str() != piece.glb) {
      piece.glb = bytes.str();
      piece.version = ++_lastVersion;
    }
    piece.sources = std::move(now.sources);
    piece.placements = std::move(now.placements);
    piece.rep = now.rep;
    pieces.emplace(name, std::move(piece));
  }
  _pieces = std::move(pieces);
  _order = std::move(order);
}

std::string KORVrcPageScene::GetSceneJSON() {
  Update();
  nlohmann::json elements = nlohmann::json::array();
  for (const std::string& name : _order) {
    const Piece& piece = _pieces.at(name);
    elements.push_back(
        {{"name", name}, {"version", piece.version}, {"draggable", piece.draggable}});
  }
  const nlohmann::json scene = {{"elements", std::move(elements)},
                                {"commandRunning", _frame.Commands().GetActiveCommand() != nullptr}};
  return scene.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

HRESULT KORVrcPageScene::GetGlb(const std::vector<std::string>& iNames, std::string& oGlb,
                                std::string& oError) {
  Update();
  auto root = KORNewRep<KOR3DBagRep>();
  for (const std::string& name : iNames.empty() ? _order : iNames) {
    auto found = _pieces.find(name);
    if (found == _pieces.end()) {
      oError = "no element named \"" + name + "\" is drawn in the scene";
      return E_INVALIDARG;
    }
    root->AddChild(found->second.rep.get());
  }
  std::ostringstream bytes;
  if (FAILED(KORWriteGlb(*root, bytes, oError)))
    return E_FAIL;
  oGlb = bytes.str();
  return S_OK;
}
