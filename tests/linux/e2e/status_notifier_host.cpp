#include "status_notifier_host.h"

#include <dbus/dbus.h>

#include <cstring>

#include "x_session.h"

namespace padwire::e2e {

namespace {

constexpr const char* kWatcher = "org.kde.StatusNotifierWatcher";
constexpr const char* kProperties = "org.freedesktop.DBus.Properties";

// What a dynamic D-Bus client (Qt's QDBusInterface) reads before it asks for a property.
constexpr const char* kIntrospection = R"(<node>
 <interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  <signal name="StatusNotifierHostRegistered"/>
 </interface>
</node>
)";

// A variant holding one value of a basic type.
void append_variant(DBusMessageIter& into, int type, const void* value) {
  const char signature[2] = {static_cast<char>(type), '\0'};
  DBusMessageIter variant;
  dbus_message_iter_open_container(&into, DBUS_TYPE_VARIANT, signature, &variant);
  dbus_message_iter_append_basic(&variant, type, value);
  dbus_message_iter_close_container(&into, &variant);
}

}  // namespace

StatusNotifierHost::StatusNotifierHost(const std::string& folder)
    : address_("unix:path=" + folder + "/status-notifier-bus") {
  dbus_threads_init_default();
  daemon_ = spawn_process(
      {"dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=" + address_}, {}, "");
  if (daemon_ <= 0) return;
  wait_until([&] {
    connection_ = dbus_connection_open_private(address_.c_str(), nullptr);
    if (connection_ && !dbus_bus_register(connection_, nullptr)) {
      dbus_connection_close(connection_);
      dbus_connection_unref(connection_);
      connection_ = nullptr;
    }
    return connection_ != nullptr;
  });
  if (!connection_) return;
  if (dbus_bus_request_name(connection_, kWatcher, DBUS_NAME_FLAG_DO_NOT_QUEUE, nullptr) !=
      DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER) {
    dbus_connection_close(connection_);
    dbus_connection_unref(connection_);
    connection_ = nullptr;
    return;
  }
  server_ = std::thread([this] { serve(); });
}

StatusNotifierHost::~StatusNotifierHost() {
  stop_ = true;
  if (server_.joinable()) server_.join();
  if (connection_) {
    dbus_connection_close(connection_);
    dbus_connection_unref(connection_);
  }
  stop_process(daemon_);
}

std::vector<std::string> StatusNotifierHost::items() {
  std::lock_guard lock(mutex_);
  return items_;
}

bool StatusNotifierHost::click(const std::string& item, const char* method) {
  DBusMessage* call = dbus_message_new_method_call(item.c_str(), "/StatusNotifierItem",
                                                   "org.kde.StatusNotifierItem", method);
  if (!call) return false;
  const dbus_int32_t x = 10, y = 10;
  dbus_message_append_args(call, DBUS_TYPE_INT32, &x, DBUS_TYPE_INT32, &y, DBUS_TYPE_INVALID);
  const bool sent = dbus_connection_send(connection_, call, nullptr);
  dbus_connection_flush(connection_);
  dbus_message_unref(call);
  return sent;
}

void StatusNotifierHost::serve() {
  while (!stop_ && dbus_connection_read_write(connection_, 50)) {
    while (DBusMessage* message = dbus_connection_pop_message(connection_)) {
      if (dbus_message_get_type(message) == DBUS_MESSAGE_TYPE_METHOD_CALL) answer(message);
      dbus_message_unref(message);
    }
  }
}

void StatusNotifierHost::answer(DBusMessage* call) {
  const char* first = nullptr;
  const char* second = nullptr;
  dbus_message_get_args(call, nullptr, DBUS_TYPE_STRING, &first, DBUS_TYPE_STRING, &second,
                        DBUS_TYPE_INVALID);
  DBusMessage* reply = nullptr;
  if (dbus_message_is_method_call(call, "org.freedesktop.DBus.Introspectable", "Introspect")) {
    reply = dbus_message_new_method_return(call);
    dbus_message_append_args(reply, DBUS_TYPE_STRING, &kIntrospection, DBUS_TYPE_INVALID);
  } else if (dbus_message_is_method_call(call, kWatcher, "RegisterStatusNotifierItem") && first) {
    // An item names its bus name, or only its object path on the caller's connection.
    std::lock_guard lock(mutex_);
    items_.push_back(first[0] == '/' ? dbus_message_get_sender(call) : first);
    reply = dbus_message_new_method_return(call);
  } else if (dbus_message_is_method_call(call, kWatcher, "RegisterStatusNotifierHost")) {
    reply = dbus_message_new_method_return(call);
  } else if (dbus_message_is_method_call(call, kProperties, "Get") && second) {
    reply = dbus_message_new_method_return(call);
    DBusMessageIter out;
    dbus_message_iter_init_append(reply, &out);
    const dbus_bool_t yes = TRUE;
    const dbus_int32_t version = 0;
    if (std::strcmp(second, "IsStatusNotifierHostRegistered") == 0) {
      append_variant(out, DBUS_TYPE_BOOLEAN, &yes);
    } else if (std::strcmp(second, "ProtocolVersion") == 0) {
      append_variant(out, DBUS_TYPE_INT32, &version);
    } else {
      dbus_message_unref(reply);
      reply = dbus_message_new_error(call, DBUS_ERROR_UNKNOWN_PROPERTY, second);
    }
  } else {
    reply = dbus_message_new_error(call, DBUS_ERROR_UNKNOWN_METHOD, dbus_message_get_member(call));
  }
  if (!reply) return;
  dbus_connection_send(connection_, reply, nullptr);
  dbus_message_unref(reply);
}

}  // namespace padwire::e2e
