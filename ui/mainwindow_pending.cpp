// The scenario file commands. They do nothing until the file work lands and replaces
// this file.
#include "ui/main.h"

namespace velmora {

void TfrmMain::Open1Click() {}

void TfrmMain::Save1Click() {}

}  // namespace velmora
