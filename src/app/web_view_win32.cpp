#include "app/web_view_win32.h"

#include <exdisp.h>
#include <ole2.h>

#include <new>

// The system's WebBrowser control, in place inside the host window. The view only ever shows a
// page the program points it at, so the container offers the least an in-place object needs:
// a client site, an in-place site and a frame that all say "nothing to do". Every failure is
// silent: without an HTML engine (as under Wine with mshtml switched off) there is no view.
namespace {

const CLSID webBrowserClass = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
const IID webBrowser2Interface = {0xD30C1661, 0xCDAF, 0x11D0, {0x8A, 0x3E, 0x00, 0xC0, 0x4F, 0xC9, 0xE2, 0x6E}};

}  // namespace

struct WebView final : IOleClientSite, IOleInPlaceSite, IOleInPlaceFrame {
  HWND host = nullptr;
  IOleObject* object = nullptr;
  IWebBrowser2* browser = nullptr;
  bool started = false;
  LONG references = 1;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite)) {
      *out = static_cast<IOleClientSite*>(this);
    } else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite)) {
      *out = static_cast<IOleInPlaceSite*>(this);
    } else if (IsEqualIID(iid, IID_IOleInPlaceUIWindow) || IsEqualIID(iid, IID_IOleInPlaceFrame)) {
      *out = static_cast<IOleInPlaceFrame*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references)); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = InterlockedDecrement(&references);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetContainer(IOleContainer** container) override {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow (the site and the frame share it)
  STDMETHODIMP GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = host;
    return S_OK;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position, LPRECT clip,
                                LPOLEINPLACEFRAMEINFO info) override {
    if (frame) {
      *frame = this;
      AddRef();
    }
    if (document) *document = nullptr;
    if (position) GetClientRect(host, position);
    if (clip) GetClientRect(host, clip);
    if (info) {
      info->fMDIApp = FALSE;
      info->hwndFrame = GetAncestor(host, GA_ROOT);
      info->haccel = nullptr;
      info->cAccelEntries = 0;
    }
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
  STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP OnPosRectChange(LPCRECT position) override {
    IOleInPlaceObject* inPlace = nullptr;
    if (object && SUCCEEDED(object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)))) {
      inPlace->SetObjectRects(position, position);
      inPlace->Release();
    }
    return S_OK;
  }

  // IOleInPlaceUIWindow
  STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }

  // IOleInPlaceFrame
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }
};

namespace {

// The browser comes into being at the first navigation, once start-up has fetched its texts:
// created with the window, the 32-bit WebBrowser under Wine brought the process down when its
// first page was bound after the fetches.
void startBrowser(WebView* view) {
  view->started = true;
  IOleObject* object = nullptr;
  if (FAILED(CoCreateInstance(webBrowserClass, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                              reinterpret_cast<void**>(&object))) ||
      !object) {
    return;
  }
  RECT area = {};
  GetClientRect(view->host, &area);
  IWebBrowser2* browser = nullptr;
  if (FAILED(object->SetClientSite(static_cast<IOleClientSite*>(view))) ||
      FAILED(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(view), 0, view->host, &area)) ||
      FAILED(object->QueryInterface(webBrowser2Interface, reinterpret_cast<void**>(&browser))) || !browser) {
    object->Close(OLECLOSE_NOSAVE);
    object->SetClientSite(nullptr);
    object->Release();
    return;
  }
  view->object = object;
  view->browser = browser;
}

}  // namespace

WebView* createWebView(HWND host) {
  if (!host) return nullptr;
  WebView* view = new (std::nothrow) WebView;
  if (view) view->host = host;
  return view;
}

void navigateWebView(WebView* view, const Text& address) {
  if (!view) return;
  if (!view->started) startBrowser(view);
  if (!view->browser) return;
  const int length = MultiByteToWideChar(CP_ACP, 0, address.data(), static_cast<int>(address.size()), nullptr, 0);
  BSTR url = SysAllocStringLen(nullptr, static_cast<UINT>(length));
  if (!url) return;
  if (length > 0) MultiByteToWideChar(CP_ACP, 0, address.data(), static_cast<int>(address.size()), url, length);
  VARIANT none;
  VariantInit(&none);
  view->browser->Navigate(url, &none, &none, &none, &none);
  SysFreeString(url);
}

void resizeWebView(WebView* view, int width, int height) {
  if (!view || !view->object) return;
  IOleInPlaceObject* inPlace = nullptr;
  if (FAILED(view->object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)))) return;
  const RECT area = {0, 0, width, height};
  inPlace->SetObjectRects(&area, &area);
  inPlace->Release();
}
