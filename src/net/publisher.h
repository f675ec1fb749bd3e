#pragma once
// The publisher's web server, fixed at build time.
#include "app/text.h"

const Text& publisherHost();
// "http://" and the host alone, no path and no trailing slash.
const Text& homePageUrl();
