#include "net/http_fetcher.h"

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <cstdint>
#include <new>

#include "app/main_window_win32.h"
#include "net/handoff_buffer.h"

namespace {

constexpr const char* userAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr DWORD wakeMask = 0x4BF;  // QS_ALLEVENTS: input, posted messages, timers, paint, hot keys
constexpr DWORD readBlockSize = 512;
constexpr DWORD rawHeadersSize = 1024;
// Far beyond any text the program fetches, and small enough that the body, its copy in the
// hand-off record and the caller's copy still fit a 32-bit address space together.
constexpr std::size_t defaultBodyLimit = std::size_t(128) << 20;
std::atomic<std::size_t> bodyLimit{defaultBodyLimit};

// WinINet, bound by name at run time. Never unloaded: an abandoned worker may still be inside it.
struct WinInet {
  decltype(&::InternetOpenA) open = nullptr;
  decltype(&::InternetConnectA) connect = nullptr;
  decltype(&::HttpOpenRequestA) openRequest = nullptr;
  decltype(&::HttpSendRequestA) sendRequest = nullptr;
  decltype(&::InternetReadFile) readFile = nullptr;
  decltype(&::HttpQueryInfoA) queryInfo = nullptr;
  decltype(&::InternetSetCookieA) setCookie = nullptr;
  decltype(&::InternetSetOptionA) setOption = nullptr;
  decltype(&::InternetCloseHandle) closeHandle = nullptr;
  bool complete = false;
};

template <typename F>
bool bind(HMODULE library, const char* name, F& function) {
  function = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name)));
  return function != nullptr;
}

const WinInet& winInet() {
  // A function-local static is initialised once even when two workers race for it.
  static const WinInet bound = [] {
    WinInet w;
    HMODULE library = LoadLibraryA("WinINet.dll");
    if (!library) return w;
    w.complete = bind(library, "InternetOpenA", w.open) && bind(library, "InternetConnectA", w.connect) &&
                 bind(library, "HttpOpenRequestA", w.openRequest) && bind(library, "HttpSendRequestA", w.sendRequest) &&
                 bind(library, "InternetReadFile", w.readFile) && bind(library, "HttpQueryInfoA", w.queryInfo) &&
                 bind(library, "InternetSetCookieA", w.setCookie) && bind(library, "InternetSetOptionA", w.setOption) &&
                 bind(library, "InternetCloseHandle", w.closeHandle);
    return w;
  }();
  return bound;
}

// One fetch's shared record. The caller and the worker each hold a reference; the last one to
// let go frees it, so a worker abandoned at the time-out still has its request and its result
// to itself and cleans up after itself.
struct FetchJob {
  ~FetchJob() {
    if (finished) CloseHandle(finished);
  }
  HandoffBuffer request;
  // Set by the worker once the fetch's outcome is settled: its result handed over with the
  // cookies stored, or nothing to hand over. What the worker does afterwards (closing a request
  // whose body was not read to its end can take WinINet a long time) keeps nobody waiting.
  HANDLE finished = nullptr;
  // The worker's finished result, published once; the caller claims it when the worker has
  // ended, or at the time-out, after which the worker can no longer publish.
  std::atomic<HandoffBuffer*> result{nullptr};
  std::atomic<bool> abandoned{false};
  std::atomic<int> holders{2};
  DWORD waitMilliseconds = 0;
  std::size_t bodyLimit = 0;

  void release() {
    if (holders.fetch_sub(1) == 1) delete this;
  }
};

// Marks the result slot as closed for good.
HandoffBuffer* const closedSlot = reinterpret_cast<HandoffBuffer*>(static_cast<std::uintptr_t>(1));

HandoffBuffer* claimResult(FetchJob& job) {
  HandoffBuffer* claimed = job.result.exchange(closedSlot);
  return claimed == closedSlot ? nullptr : claimed;
}

const char* orNull(const Text& text) { return text.empty() ? nullptr : text.c_str(); }

// The WinINet handles of one run of the worker, closed request first, root last.
struct InternetHandles {
  const WinInet& api;
  HINTERNET root = nullptr;
  HINTERNET connection = nullptr;
  HINTERNET request = nullptr;
  explicit InternetHandles(const WinInet& w) : api(w) {}
  ~InternetHandles() { close(); }
  void close() {
    if (request) api.closeHandle(request);
    if (connection) api.closeHandle(connection);
    if (root) api.closeHandle(root);
    request = connection = root = nullptr;
  }
};

// A worker's network waits end on their own, so abandoned workers do not pile up: no single
// connect, send or receive may stay quiet longer than the caller's own wait.
void boundNetworkWaits(const WinInet& api, HINTERNET handle, DWORD milliseconds) {
  DWORD value = milliseconds < 1000 ? 1000 : milliseconds;
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
                       INTERNET_OPTION_DATA_SEND_TIMEOUT, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT}) {
    api.setOption(handle, option, &value, sizeof value);
  }
}

// The request as far as the result record; false when there is no result to hand back.
bool performRequest(FetchJob& job, const FetchRequest& request, InternetHandles& handles, Text& host, Text& rawHeaders,
                    HandoffBuffer& result) {
  const WinInet& api = handles.api;

  host = HttpFetcher::hostOf(request.url, false);
  const Text path = HttpFetcher::pathOf(request.url);
  const Text proxyList = proxyListOf(request.proxy);
  handles.root = api.open(userAgent, proxyList.empty() ? INTERNET_OPEN_TYPE_DIRECT : INTERNET_OPEN_TYPE_PROXY,
                          orNull(proxyList), nullptr, 0);
  if (!handles.root) return false;
  boundNetworkWaits(api, handles.root, job.waitMilliseconds);

  const INTERNET_PORT port = static_cast<INTERNET_PORT>(HttpFetcher::portOf(request.url));
  handles.connection = api.connect(handles.root, orNull(host), port, isBlank(request.userName) ? nullptr : request.userName.c_str(),
                                   isBlank(request.password) ? nullptr : request.password.c_str(), INTERNET_SERVICE_HTTP, 0, 0);
  if (!handles.connection) return false;
  boundNetworkWaits(api, handles.connection, job.waitMilliseconds);

  handles.request = api.openRequest(handles.connection, orNull(request.method), path.c_str(), "HTTP/1.1", nullptr,
                                    nullptr, INTERNET_FLAG_RELOAD, 0);
  if (!handles.request) return false;
  boundNetworkWaits(api, handles.request, job.waitMilliseconds);

  const RequestVerb verb = verbOf(request.method);
  if (verb == RequestVerb::Unsupported) return false;
  Text headers = composeHeaders(request.extraHeaders, request.url, verb, request.body);
  const bool posting = verb == RequestVerb::Post && !request.body.empty();
  if (!api.sendRequest(handles.request, orNull(headers), static_cast<DWORD>(headers.size()),
                       posting ? const_cast<char*>(request.body.data()) : nullptr,
                       posting ? static_cast<DWORD>(request.body.size()) : 0)) {
    return false;
  }

  GrowableBytes body(job.bodyLimit);
  for (;;) {
    // An abandoned worker stops at its next block: nobody is waiting for the rest.
    if (job.abandoned.load()) return false;
    char block[readBlockSize] = {};
    DWORD count = 0;
    // A read that fails (a broken or silent connection) would leave a truncated body: a failure.
    if (!api.readFile(handles.request, block, readBlockSize, &count)) return false;
    if (count == 0) break;
    if (!body.append(block, count)) return false;
  }

  rawHeaders.assign(rawHeadersSize, ' ');
  DWORD length = rawHeadersSize;
  if (api.queryInfo(handles.request, HTTP_QUERY_RAW_HEADERS_CRLF, &rawHeaders[0], &length, nullptr)) {
    rawHeaders.resize(std::char_traits<char>::length(rawHeaders.c_str()));
  } else {
    rawHeaders.assign(rawHeadersSize, ' ');
  }
  return writeFetchResult(result, rawHeaders, body.data(), body.size());
}

DWORD WINAPI runWorker(LPVOID parameter) {
  FetchJob& job = *static_cast<FetchJob*>(parameter);
  DWORD written = 0;
  FetchRequest request;
  job.request.rewind();
  if (job.request.readText(request.marker) && request.marker == requestMarker) {
    job.request.rewind();
    readFetchRequest(job.request, request);
    job.request.erase();

    const WinInet& api = winInet();
    if (api.complete) {
      InternetHandles handles(api);
      Text host;
      Text rawHeaders;
      HandoffBuffer* result = new (std::nothrow) HandoffBuffer;
      if (result && performRequest(job, request, handles, host, rawHeaders, *result)) {
        HandoffBuffer* empty = nullptr;
        if (job.result.compare_exchange_strong(empty, result)) {
          written = 1;
          result = nullptr;
        }
      }
      delete result;
      if (written) {
        handles.close();
        // Cookies only from a result the caller could still take: an abandoned fetch leaves
        // nothing in the cookie store for a later request to carry.
        const Text site = "http://" + host;
        for (const CookieLine& cookie : cookieLinesOf(rawHeaders)) {
          if (job.abandoned.load()) break;
          api.setCookie(site.c_str(), orNull(cookie.name), orNull(cookie.data));
        }
      }
      SetEvent(job.finished);
    }
  }
  SetEvent(job.finished);
  job.release();
  return written;
}

}  // namespace

std::size_t fetchBodyLimit() { return bodyLimit.load(); }
void setFetchBodyLimit(std::size_t bytes) { bodyLimit.store(bytes); }

Bytes HttpFetcher::fetch(const Text& url, const Text& method, const Text& proxy, const Text& userName,
                         const Text& password, const Text& extraHeaders, const Text& body, std::int32_t timeoutSeconds,
                         Text* responseHeaders) {
  // Nothing handed back: no headers either.
  auto failed = [responseHeaders] {
    if (responseHeaders) responseHeaders->clear();
    return Bytes();
  };
  FetchJob* job = new (std::nothrow) FetchJob;
  if (!job) return failed();
  job->bodyLimit = bodyLimit.load();
  if (timeoutSeconds == 0) timeoutSeconds = 90;
  const double wait = static_cast<double>(timeoutSeconds) * 1000.0;
  job->waitMilliseconds = wait <= 0 ? 0 : wait >= 4294967294.0 ? 4294967294u : static_cast<DWORD>(wait);

  const FetchRequest request{requestMarker, url, method, proxy, userName, password, extraHeaders, body};
  if (!writeFetchRequest(job->request, request)) {
    delete job;
    return failed();
  }

  job->finished = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  DWORD threadId = 0;
  HANDLE worker = job->finished ? CreateThread(nullptr, 0, runWorker, job, 0, &threadId) : nullptr;
  if (!worker) {
    delete job;
    return failed();
  }

  DWORD waited;
  for (;;) {
    waited = MsgWaitForMultipleObjects(1, &job->finished, FALSE, job->waitMilliseconds, wakeMask);
    MSG msg;
    // Dispatch everything waiting, but leave a quit message at the head for the main loop.
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
      if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) break;
      if (mainWindow().handle()) {
        mainWindow().dispatch(msg);
      } else {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
    if (waited == WAIT_OBJECT_0 || waited == WAIT_TIMEOUT) break;
    // Only new input returns anything else; a failing wait would repeat at once, for ever.
    if (waited != WAIT_OBJECT_0 + 1) break;
  }

  const bool workerEnded = waited == WAIT_OBJECT_0;
  if (!workerEnded) job->abandoned.store(true);
  HandoffBuffer* buffer = claimResult(*job);
  CloseHandle(worker);
  job->release();

  FetchResult result;
  if (buffer) {
    buffer->rewind();
    readFetchResult(*buffer, result);
    delete buffer;
  }
  if (responseHeaders) *responseHeaders = result.rawHeaders;
  if (!workerEnded || result.marker != resultMarker) return Bytes();
  return std::move(result.body);
}
