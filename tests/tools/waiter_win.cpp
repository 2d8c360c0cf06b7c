// A process that does nothing but wait until it is ended (or for the milliseconds given as its
// argument): tests copy it under the image names they need and look for it or terminate it.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
    const DWORD ms = argc > 1 ? static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10)) : INFINITE;
    Sleep(ms);
    return 0;
}
