#include "net/publisher.h"

#ifndef TAVRIK_PUBLISHER_HOST
#error "TAVRIK_PUBLISHER_HOST comes from the build"
#endif

const Text& publisherHost() {
  static const Text host = TAVRIK_PUBLISHER_HOST;
  return host;
}

const Text& homePageUrl() {
  static const Text url = "http://" + publisherHost();
  return url;
}
