// The report command. It does nothing until the report work lands and replaces this file.
#include "ui/main.h"

namespace velmora {

void TfrmMain::Print1Click() {}

}  // namespace velmora
