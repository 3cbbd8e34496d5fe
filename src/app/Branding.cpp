#include "Branding.h"

#include "FMain.h"

namespace zanthe {

void LoadBranding(TfrmMain* /*form*/)
{
}

} // namespace zanthe
