#pragma once

namespace zanthe {

class TfrmMain;

// Applies "dbconfig.dat" beside the program to the main window: title,
// banner, link labels, skin and icon. Without the file nothing changes.
void LoadBranding(TfrmMain* form);

} // namespace zanthe
