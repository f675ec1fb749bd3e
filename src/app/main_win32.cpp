#include <windows.h>

#include "app/application_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return runApplication(instance); }
