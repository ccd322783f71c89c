// orvia_screenshot <out.png>: saves the whole screen as a PNG picture.
#include "tests/e2e/harness.h"

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: orvia_screenshot <out.png>\n", stderr);
        return 2;
    }
    const e2e::Screenshot shot = e2e::Screenshot::WholeScreen();
    if (shot.Empty() || !shot.SavePng(argv[1])) {
        std::fputs("orvia_screenshot: the screen could not be saved\n", stderr);
        return 1;
    }
    return 0;
}
