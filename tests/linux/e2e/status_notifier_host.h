// A StatusNotifier tray host for the end-to-end runs, on a private session bus: a dbus-daemon of
// its own and the watcher (org.kde.StatusNotifierWatcher at /StatusNotifierWatcher) that says a
// host is registered and keeps the items that register with it. It clicks an item as a panel
// does, through the item's Activate, SecondaryActivate or ContextMenu.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct DBusConnection;
struct DBusMessage;

namespace padwire::e2e {

class StatusNotifierHost {
 public:
  // The bus's socket lies in `folder`.
  explicit StatusNotifierHost(const std::string& folder);
  ~StatusNotifierHost();
  StatusNotifierHost(const StatusNotifierHost&) = delete;
  StatusNotifierHost& operator=(const StatusNotifierHost&) = delete;

  bool ready() const { return connection_ != nullptr; }
  // For the program's DBUS_SESSION_BUS_ADDRESS.
  const std::string& address() const { return address_; }
  // The bus names of the items registered so far.
  std::vector<std::string> items();
  // Calls `method` (Activate, SecondaryActivate, ContextMenu) on the item's /StatusNotifierItem.
  bool click(const std::string& item, const char* method);

 private:
  void serve();
  void answer(DBusMessage* call);

  pid_t daemon_ = -1;
  std::string address_;
  DBusConnection* connection_ = nullptr;
  std::mutex mutex_;
  std::vector<std::string> items_;
  std::atomic<bool> stop_{false};
  std::thread server_;
};

}  // namespace padwire::e2e
