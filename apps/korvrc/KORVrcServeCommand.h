#pragma once
// `korvrc serve`: the workbench in a browser (docs/serve.md). Returns the
// process exit status.
#include <string>

struct KORVrcServeOptions {
  std::string input;  // document or description; empty: the bundled example
  std::string output; // where Save writes; empty: back to a saved document given as input
  int port = 0;       // 0: any free port
  std::string exportFolder; // where the page may export; empty: beside the document
};
int KORVrcRunServe(const KORVrcServeOptions& iOptions);
