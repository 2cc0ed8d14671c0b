#pragma once
// The one folder the browser workbench may write into (docs/serve.md): the
// export dialog's directory box and every file or directory box answered
// from the page must name a place inside it. Paths are compared after ".."
// and symbolic links are resolved, so neither leads out.
#include "objectmodel/KORResult.h"

#include <string>

class KORVrcExportFolder {
public:
  // Creates iFolder (and its parents) when missing and keeps its canonical
  // path. E_FAIL with oError when it cannot be made or is not a folder.
  HRESULT Open(const std::string& iFolder, std::string& oError);
  bool IsOpen() const { return !_path.empty(); }
  const std::string& GetPath() const { return _path; }

  // iPath made absolute (a relative one is taken inside the folder, a
  // leading environment reference is expanded), "..", "." and symbolic
  // links resolved: S_OK with oResolved when that is the folder or lies
  // below it; E_INVALIDARG with oError saying so otherwise.
  HRESULT Resolve(const std::string& iPath, std::string& oResolved, std::string& oError) const;

  // The folder used when none is given: "STEM-export" beside the document,
  // or "korvrc-export" in the current folder for the bundled example.
  static std::string DefaultFor(const std::string& iDocument);

private:
  std::string _path; // canonical; empty until opened
};
