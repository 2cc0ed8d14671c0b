#pragma once
// The sub-commands that show an installation: `scene` writes the 3D scene as
// binary glTF, the 2D schematic as SVG and the representation trees as text;
// `tree` prints the specification tree (docs/scene-files.md,
// docs/command-line.md). They return the process exit status.
#include <string>

struct KORVrcSceneOptions {
  std::string input; // document or description; empty: the bundled example
  std::string gltf;  // the .glb file to write, or empty
  std::string svg;   // the .svg file to write, or empty
  bool text = false; // print the representation trees
};
int KORVrcRunScene(const KORVrcSceneOptions& iOptions);
// Empty iInput: the bundled example.
int KORVrcRunTree(const std::string& iInput);
