#pragma once
// The sub-commands of korvrc (docs/command-line.md). Each returns the process
// exit status: 0 on success, 1 after printing to standard error what is wrong
// and where ("korvrc: WHERE: WHAT"). A failing command writes nothing, except
// where its description says which files are already written. No command
// writes over an existing file without iForce, nor ever over the file it reads.
#include "featurestore/KORDocument.h"

#include <functional>
#include <string>

// The bundled example description: $KORVRC_EXAMPLE when set and non-empty,
// else the path fixed at build time.
std::string KORVrcExamplePath();

// The document a command works on: a saved document, an installation
// description, or the bundled example when iInput is empty; null with oError
// saying what is wrong and oWhere where.
KORSmartPtr<KORDocument> KORVrcOpenInput(const std::string& iInput, std::string& oWhere,
                                         std::string& oError);

int KORVrcRunNew(const std::string& iDocument, bool iForce);
int KORVrcRunImport(const std::string& iDescription, const std::string& iDocument, bool iForce);
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

// Replays iJournal (docs/journal.md) on iDocument, or on a new document
// holding the default configuration when iDocument is empty, and saves the
// result to iOutput (empty: back to iDocument). A command still open at the
// end is cancelled first. On the first failing line prints
// "korvrc: JOURNAL:LINE: what is wrong" and saves nothing.
int KORVrcRunPlay(const std::string& iJournal, const std::string& iDocument,
                  const std::string& iOutput);

int KORVrcRunSettings(const std::string& iInput, const std::string& iDirectory, bool iForce);

// Runs iCommand; an exception that escapes it is reported against iWhere as
// a failure (exit status 1) instead of ending the process.
int KORVrcGuarded(const std::string& iWhere, const std::function<int()>& iCommand);
