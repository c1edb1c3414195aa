#include "QuietStart.h"

namespace quietrun {

int PackExitCode(packrun::Outcome outcome) {
  switch (outcome) {
    case packrun::Outcome::Written: return kExitDone;
    case packrun::Outcome::WriteFailed: return kExitFailures;
    default: return kExitWrongUse;
  }
}

int StartExitCode(startmode::Action action) {
  return action == startmode::Action::Install || action == startmode::Action::Uninstall ||
                 action == startmode::Action::Authoring || action == startmode::Action::Pack
             ? kExitDone
             : kExitWrongUse;
}

const char* LogNameOf(startmode::Action action) {
  switch (action) {
    case startmode::Action::Uninstall:
    case startmode::Action::ErrNoOption:
    case startmode::Action::ErrNoTarget:
    case startmode::Action::ErrNoSetupInfo:
      return kUninstallLogName;
    case startmode::Action::Pack:
      return kPackLogName;
    default:
      return kInstallLogName;
  }
}

}  // namespace quietrun
