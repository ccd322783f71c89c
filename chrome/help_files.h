// Where the Help window's page and its illustrations are written on the disk.
#pragma once

#include <string>

namespace chrome {

// Directories tried in order, each ending in a backslash.
struct HelpPageDirectories {
    std::wstring preferred;  // the system directory
    std::wstring fallback;   // the user's temporary directory
};

HelpPageDirectories DefaultHelpPageDirectories();

// The path of the page to show. A page already in the preferred directory is shown as it
// is, never rewritten. Otherwise the page is written there; where that directory refuses
// it, the fallback's page is used, written first when absent. The illustrations are written
// beside the page that is shown, each only when absent. When neither directory has or
// takes the page, the preferred path all the same (the viewer then shows what it shows for
// a missing file).
std::wstring EnsureHelpPage(const HelpPageDirectories& directories);

}  // namespace chrome
