#include "platform/phone/PhoneCallers.h"

#include <gio/gio.h>

#include <memory>

namespace platform {

namespace {

constexpr const char* SERVICE = "org.freedesktop.ModemManager1";
constexpr const char* ROOT = "/org/freedesktop/ModemManager1";
constexpr const char* VOICE = "org.freedesktop.ModemManager1.Modem.Voice";
constexpr const char* CALL = "org.freedesktop.ModemManager1.Call";
// How long one D-Bus call may take before the call counts as failed.
constexpr int TIMEOUT_MS = 5000;

enum Failure {
    NO_BUS = 1,
    NO_MODEMS = 2,
    NO_VOICE_MODEM = 3,
    CREATE_REFUSED = 4,
    START_REFUSED = 5,
};

struct Unref {
    void operator()(GDBusConnection* connection) const { g_object_unref(connection); }
    void operator()(GVariant* variant) const { g_variant_unref(variant); }
    void operator()(GError* error) const { g_error_free(error); }
};
template<typename T> using Owned = std::unique_ptr<T, Unref>;

Owned<GVariant> call(GDBusConnection* bus, const char* path, const char* interface,
    const char* method, GVariant* parameters, const GVariantType* reply)
{
    GError* raw_error = nullptr;
    GVariant* result = g_dbus_connection_call_sync(bus, SERVICE, path, interface, method,
        parameters, reply, G_DBUS_CALL_FLAGS_NO_AUTO_START, TIMEOUT_MS, nullptr, &raw_error);
    Owned<GError> error(raw_error);
    return Owned<GVariant>(result);
}

// The first object of the manager that has the Voice interface.
std::string voice_modem(GDBusConnection* bus, int& failure)
{
    auto objects = call(bus, ROOT, "org.freedesktop.DBus.ObjectManager", "GetManagedObjects",
        nullptr, G_VARIANT_TYPE("(a{oa{sa{sv}}})"));
    if (!objects) {
        failure = NO_MODEMS;
        return {};
    }
    Owned<GVariant> map(g_variant_get_child_value(objects.get(), 0));
    GVariantIter iter;
    g_variant_iter_init(&iter, map.get());
    const char* path = nullptr;
    GVariant* interfaces = nullptr;
    std::string found;
    while (found.empty() && g_variant_iter_next(&iter, "{&o@a{sa{sv}}}", &path, &interfaces)) {
        Owned<GVariant> owned(interfaces);
        Owned<GVariant> voice(g_variant_lookup_value(owned.get(), VOICE, nullptr));
        if (voice)
            found = path;
    }
    if (found.empty())
        failure = NO_VOICE_MODEM;
    return found;
}

} // namespace

int call_through_modemmanager(const std::string& number)
{
    // A connection of its own for every call, closed afterwards: the library
    // is loaded for one call and unloaded again, and keeps nothing behind.
    GError* raw_error = nullptr;
    gchar* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SYSTEM, nullptr, &raw_error);
    Owned<GError> address_error(raw_error);
    if (!address)
        return NO_BUS;
    raw_error = nullptr;
    Owned<GDBusConnection> bus(g_dbus_connection_new_for_address_sync(address,
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT
            | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, &raw_error));
    g_free(address);
    Owned<GError> error(raw_error);
    if (!bus)
        return NO_BUS;
    struct Closer {
        GDBusConnection* bus;
        ~Closer() { g_dbus_connection_close_sync(bus, nullptr, nullptr); }
    } closer { bus.get() };
    int failure = 0;
    std::string modem = voice_modem(bus.get(), failure);
    if (modem.empty())
        return failure;

    GVariantBuilder properties;
    g_variant_builder_init(&properties, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&properties, "{sv}", "Number", g_variant_new_string(number.c_str()));
    auto created = call(bus.get(), modem.c_str(), VOICE, "CreateCall",
        g_variant_new("(a{sv})", &properties), G_VARIANT_TYPE("(o)"));
    if (!created)
        return CREATE_REFUSED;
    const char* call_path = nullptr;
    g_variant_get(created.get(), "(&o)", &call_path);
    auto started = call(bus.get(), call_path, CALL, "Start", nullptr, nullptr);
    return started ? 0 : START_REFUSED;
}

} // namespace platform
