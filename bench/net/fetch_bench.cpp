// fetch_bench URL [timeoutSeconds]: one HttpFetcher::fetch of URL, then "name: value" lines.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "net/http_fetcher.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: fetch_bench URL [timeoutSeconds]\n");
    return 2;
  }
  const int timeout = argc > 2 ? std::atoi(argv[2]) : 120;
  PROCESS_MEMORY_COUNTERS before = {};
  GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
  const auto start = std::chrono::steady_clock::now();
  const Bytes body = HttpFetcher::fetch(argv[1], "GET", "", "", "", "", "", timeout);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  PROCESS_MEMORY_COUNTERS after = {};
  GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
  std::printf("fetch_bytes: %zu\n", body.size());
  std::printf("fetch_peak_private_mb: %.1f\n", static_cast<double>(after.PeakPagefileUsage) / (1 << 20));
  std::printf("fetch_peak_working_set_mb: %.1f\n", static_cast<double>(after.PeakWorkingSetSize) / (1 << 20));
  std::printf("fetch_seconds: %.3f\n", seconds);
  return body.empty() ? 1 : 0;
}
