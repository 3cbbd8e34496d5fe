#pragma once

namespace zanthe {

// The program's own addresses and version, in one place.
inline constexpr char HelpPageUrl[] = "http://www.keywordzanthe.com/zanthehelp";
inline constexpr char MakeMoneyBaseUrl[] = "http://www.keywordzanthe.com/";
inline constexpr char UpdateBaseUrl[] = "http://www.keywordzanthe.com/liveupdate/keyword_zanthe/";
// The version exists twice on purpose: text for the caption, a number for
// the updater. Neither is derived from the other.
inline constexpr char VersionText[] = "1.00";
inline constexpr float VersionNumber = 1.0f;
inline constexpr char UpdaterCode[] = "A";

} // namespace zanthe
