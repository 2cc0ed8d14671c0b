#pragma once
// `korvrc serve`: the workbench in a browser (docs/serve.md). Returns the
// process exit status.
#include <string>

struct KORVrcServeOptions {
  std::string input;  // document or description; empty: the bundled example
  std::string output; // where Save writes; empty: back to a saved document given as input
  int port = 0;       // 0: any free port
  std::string exportFolder; // where the page may export; empty: beside the document
  std::string listen = "127.0.0.1:5000"; // the live tracking test's UDP source
  std::string replay;                    // or a recorded run replayed instead
};
int KORVrcRunServe(const KORVrcServeOptions& iOptions);
