// What the program runs on, for the few places where Wine behaves otherwise than Windows and
// the program makes up for it.
#pragma once

namespace platform {

bool RunsUnderWine();

}  // namespace platform
