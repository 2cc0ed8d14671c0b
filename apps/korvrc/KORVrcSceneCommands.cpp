#include "KORVrcSceneCommands.h"

#include "KORVrcCommands.h"
#include "featurestore/KORIContainer.h"
#include "interfaces/KORIVrcFactory.h"
#include "system/KORAtomicFile.h"
#include "tree/KORSpecTree.h"
#include "visu/KORSceneWriters.h"
#include "visu/KORVisManager.h"

#include <iostream>
#include <sstream>

namespace {
int Failure(const std::string& iWhere, const std::string& iWhat) {
  std::cerr << "korvrc: " << iWhere << ": " << iWhat << '\n';
  return 1;
}

// Writes a whole file or leaves what was there.
bool WriteFile(const std::string& iPath, const std::string& iBytes, std::string& oError) {
  KORUnicodeString reason;
  const HRESULT result = KORWriteFileAtomically(
      iPath, 0644, [&](int iDescriptor) { return KORWriteAll(iDescriptor, iBytes); }, &reason);
  if (FAILED(result))
    oError = "cannot be written: " + reason;
  return SUCCEEDED(result);
}

using Writer = HRESULT (*)(const KORRep&, std::ostream&, std::string&);
bool WriteScene(Writer iWriter, const KORRep& iScene, const std::string& iPath,
                std::string& oError) {
  std::ostringstream bytes;
  if (FAILED(iWriter(iScene, bytes, oError)))
    return false;
  return WriteFile(iPath, bytes.str(), oError);
}

// The configuration container of the document iInput names.
bool OpenContainer(const std::string& iInput, KORSmartPtr<KORDocument>& oDocument,
                   KORIContainer_var& oContainer, std::string& oWhere, std::string& oError) {
  oDocument = KORVrcOpenInput(iInput, oWhere, oError);
  if (!oDocument)
    return false;
  auto factory = KORQuery<KORIVrcFactory>(oDocument);
  if (!factory || FAILED(factory->RetrieveVrcContainer(oContainer.Out()))) {
    oError = "the document holds no configuration container";
    return false;
  }
  return true;
}
} // namespace

int KORVrcRunTree(const std::string& iInput) {
  std::string where, error;
  KORSmartPtr<KORDocument> document;
  KORIContainer_var container;
  if (!OpenContainer(iInput, document, container, where, error))
    return Failure(where, error);
  KORSpecTree tree;
  if (FAILED(tree.Attach(document, container)))
    return Failure(where, "the document's model events cannot be followed");
  tree.Print(std::cout);
  return 0;
}

int KORVrcRunScene(const KORVrcSceneOptions& iOptions) {
  if (iOptions.gltf.empty() && iOptions.svg.empty() && !iOptions.text)
    return Failure("scene", "say what to write: --gltf FILE.glb, --svg FILE.svg or --text");
  std::string where, error;
  KORSmartPtr<KORDocument> document;
  KORIContainer_var container;
  if (!OpenContainer(iOptions.input, document, container, where, error))
    return Failure(where, error);

  KORVisManager manager;
  if (FAILED(manager.Attach(document)))
    return Failure(where, "the document's model events cannot be followed");
  KORRep_var scene = manager.GetRep(container, KORVisDimension::ThreeD);
  KORRep_var schematic = manager.GetRep(container, KORVisDimension::TwoD);
  for (const std::string& problem : manager.GetReadProblems())
    std::cerr << "korvrc: warning: " << problem << " (not drawn)\n";
  if (!scene || !schematic)
    return Failure(where, "the configuration container has no representation");

  if (!iOptions.gltf.empty() && !WriteScene(&KORWriteGlb, *scene, iOptions.gltf, error))
    return Failure(iOptions.gltf, error);
  if (!iOptions.svg.empty() && !WriteScene(&KORWriteSvg, *schematic, iOptions.svg, error))
    return Failure(iOptions.svg, error);
  if (iOptions.text) {
    std::cout << "3D scene\n";
    KORWriteRepText(*scene, std::cout);
    std::cout << "2D schematic\n";
    KORWriteRepText(*schematic, std::cout);
  }
  if (!iOptions.gltf.empty())
    std::cerr << "korvrc: wrote the 3D scene to " << iOptions.gltf << '\n';
  if (!iOptions.svg.empty())
    std::cerr << "korvrc: wrote the 2D schematic to " << iOptions.svg << '\n';
  return 0;
}
