#pragma once
#include <windows.h>

// The process entry: initialises the process, creates the main window, runs the message loop.
// Every way out ends the process from inside an event handler, so it returns only in theory.
int runApplication(HINSTANCE instance);
