// Entry point of Ombrel.dll. Process attach stays minimal (no windows, no
// threads): later start-up work is added here as its services land.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
