// The calls the program makes into the reader component (termb.dll beside the program),
// and what it reads back from the card text file.
#pragma once

#include <windows.h>

#include <string>

namespace reader {

// Selects the card on the opened reader and reads it (the component then writes the card
// text file), and beeps: 1 when both calls succeeded, 0 otherwise.
int ReadCard();

// Field `position` of the card text file (1 the name, 6 the ID number) as UTF-8, read
// afresh after a new scan for the reader. When no reader answers the scan, the operator is
// told so in a box owned by `owner`, and the field is empty.
std::string LookUpCardField(HWND owner, int position);

}  // namespace reader
