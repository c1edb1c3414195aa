// The exit codes and logs of the starts that are not an install or a removal: a
// pack, and a start that ends without a run. Portable.
#pragma once
#include "PackRun.h"
#include "QuietRun.h"
#include "StartMode.h"

namespace quietrun {

// A pack: 0 written, 3 no authored distribution or a damaged list (a listed file
// missing too), 1 the package could not be written.
int PackExitCode(packrun::Outcome outcome);
// A start that ends without a run: one of the wrong-use cases (kExitWrongUse), or
// kExitDone for the two runs.
int StartExitCode(startmode::Action action);

// Which log a start belongs to: the uninstall's for every case of the Windows folder,
// the pack's for packing, the install's for the rest.
const char* LogNameOf(startmode::Action action);

}  // namespace quietrun
