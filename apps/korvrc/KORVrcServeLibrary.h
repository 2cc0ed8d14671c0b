#pragma once
// `korvrc serve` lives in a library of its own, libKORVrcServe.so, loaded only
// when that command runs: the HTTP server and what it links (TLS, compression)
// would otherwise be loaded and relocated at every start of korvrc.
#include "KORVrcServeCommand.h"

// The one function the library exports, by this name; it returns the process
// exit status and lets no exception out.
#define KORVRC_SERVE_ENTRY_SYMBOL "KORVrcServeEntry"
using KORVrcServeEntryFunction = int (*)(const KORVrcServeOptions* iOptions);
