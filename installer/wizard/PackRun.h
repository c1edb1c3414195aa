// Packing an authored distribution into one file (-p, and the wizard's offer after
// 登録): where the package goes and what the author is told. Portable; the run is
// in PackRun_win.
#pragma once
#include <string>

namespace packrun {

enum class Outcome {
  Written,      // the package is in place
  NotAuthored,  // no Setup.ini with Mode 1
  Damaged,      // Setup.ini's list names no executable, no files, or a name no install could copy
  MissingFile,  // a listed file is not there (strPath)
  WriteFailed,  // the package could not be written (strPath)
};

struct Result {
  Outcome outcome = Outcome::NotAuthored;
  std::string strOutput;  // the package's full path
  std::string strPath;    // the file at fault
};

// Beside the distribution folder, not in it (a second pack then never packs the first),
// named after the executable title; a drive's or a share's root has nothing beside it,
// so there the desktop. `text` is what follows -p: a file, or a folder ending with "\"
// for the default name in it; empty for the default place.
std::string DefaultName(const std::string& exeTitle);
std::string OutputPath(const std::string& text, const std::string& setupDir, const std::string& exeTitle,
                       const std::string& desktopDir);

// The box after a pack: its text, caption and whether it tells of a failure.
std::string ResultText(const Result& result);
const char* ResultCaption(const Result& result);
bool Failed(const Result& result);

// The wizard's question after 登録.
std::string OfferText(const std::string& output);
extern const char* const kOfferCaption;

}  // namespace packrun
