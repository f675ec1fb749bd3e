#pragma once
// The Windows side of the remote texts: HttpFetcher for the fetches, the shell and a message box
// for the update offer and the pages.
#include "net/remote_texts.h"

TextFetcher& httpTextFetcher();
RemoteShell& windowsShell();
