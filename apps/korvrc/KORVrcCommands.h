#pragma once
// The sub-commands of korvrc (docs/command-line.md). Each returns the process
// exit status: 0 on success, 1 after printing to standard error what is wrong
// and where. A failing command writes nothing, except where its description
// says which files are already written.
#include "featurestore/KORDocument.h"

#include <string>

// The bundled example description: $KORVRC_EXAMPLE when set and non-empty,
// else the path fixed at build time.
std::string KORVrcExamplePath();

// The document a command works on: a saved document, an installation
// description, or the bundled example when iInput is empty; null with oError
// saying what is wrong and where.
KORSmartPtr<KORDocument> KORVrcOpenInput(const std::string& iInput, std::string& oError);

int KORVrcRunNew(const std::string& iDocument);
int KORVrcRunImport(const std::string& iDescription, const std::string& iDocument);
// Empty iInput: the bundled example.
int KORVrcRunDescribe(const std::string& iInput);

struct KORVrcExportOptions {
  std::string input; // document or description; empty: the bundled example
  std::string directory;
  std::string name; // empty: the configuration's name
  bool registerConfig = false;
  bool active = false; // implies registerConfig
  bool force = false;
  bool loose = false;
};
int KORVrcRunExport(const KORVrcExportOptions& iOptions);

int KORVrcRunSettings(const std::string& iInput, const std::string& iDirectory);
