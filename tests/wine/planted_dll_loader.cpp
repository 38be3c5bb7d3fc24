// The planted-DLL test's control: loads the DLL named on its command line by
// name, with the plain search order that looks in the exe's own folder first.
// A planted copy there runs and ends it with code 77; 1 or 2 mean it did not.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR dllName, int) { return LoadLibraryA(dllName) ? 1 : 2; }
