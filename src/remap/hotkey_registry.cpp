#include "remap/hotkey_registry.h"

HotkeyRegistry hotkeyRegistry;

std::uint32_t hotkeyFlags(std::int32_t modifiers) {
  switch (modifiers) {
    case 1: return modControl;
    case 2: return modShift;
    case 3: return modControl | modShift;
    case 4: return modAlt;
    case 5: return modControl | modAlt;
    case 6: return modShift | modAlt;
    default: return static_cast<std::uint32_t>(modifiers);
  }
}

bool forwardsHotkey(const HotkeyRegistry& registry, std::uintptr_t wParam) {
  return wParam >= static_cast<std::uintptr_t>(firstHotkeyId) && registry.lastIssuedId >= firstHotkeyId &&
         wParam <= static_cast<std::uintptr_t>(registry.lastIssuedId);
}

namespace {

std::int32_t beginAttempt(HotkeyRegistry& registry, RemapOs& os, void* owner, void* sink) {
  registry.sinkWindow = sink;
  // Installed before the key is registered, so not even the first firing can miss the forwarder.
  if (!registry.savedWindowProc) registry.savedWindowProc = os.installForwardingProc(owner, registry);
  ++registry.liveCount;
  ++registry.attemptCount;
  registry.lastIssuedId = firstHotkeyId - 1 + registry.attemptCount;
  return registry.lastIssuedId;
}

}  // namespace

std::int32_t registerHotkey(HotkeyRegistry& registry, RemapOs& os, void* owner, void* sink, std::int32_t modifiers,
                            std::int32_t virtualKey) {
  const std::uint32_t flags = hotkeyFlags(modifiers);
  const std::int32_t id = beginAttempt(registry, os, owner, sink);
  return os.registerHotKey(owner, id, flags, virtualKey) ? id : 0;
}

std::int32_t declineHotkey(HotkeyRegistry& registry, RemapOs& os, void* owner, void* sink) {
  beginAttempt(registry, os, owner, sink);
  return 0;
}

bool unregisterHotkey(HotkeyRegistry& registry, RemapOs& os, void* owner, std::int32_t id) {
  const bool removed = os.unregisterHotKey(owner, id);
  --registry.liveCount;
  if (registry.savedWindowProc && registry.liveCount == 0) {
    os.restoreWindowProc(owner, registry.savedWindowProc);
    registry.savedWindowProc = nullptr;
  }
  return removed;
}
