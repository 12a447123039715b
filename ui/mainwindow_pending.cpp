// The scenario file and report commands. They do nothing until the file and report
// work lands and replaces this file.
#include "ui/main.h"

namespace velmora {

void TfrmMain::Open1Click() {}

void TfrmMain::Save1Click() {}

void TfrmMain::Print1Click() {}

}  // namespace velmora
