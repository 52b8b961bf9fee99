#include "platform/upload/PasswordStore.h"

#include <sys/stat.h>

#include <cstdlib>

#ifdef OSTREL_WITH_LIBSECRET
#include <libsecret/secret.h>
#endif

namespace ostrel {

namespace {

// GLib would otherwise try to start a bus of its own for a missing one.
bool SessionBusConfigured()
{
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address)
        return true;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat info {};
    return runtime && *runtime && ::stat((std::string(runtime) + "/bus").c_str(), &info) == 0 &&
           S_ISSOCK(info.st_mode);
}

#ifdef OSTREL_WITH_LIBSECRET

constexpr const char* kSecretsName = "org.freedesktop.secrets";

const SecretSchema* Schema()
{
    static const SecretSchema schema = {"org.ostrel.UploadPassword",
                                        SECRET_SCHEMA_NONE,
                                        {{"protocol", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                         {"host", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                         {"port", SECRET_SCHEMA_ATTRIBUTE_INTEGER},
                                         {"user", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                         {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
                                        0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    return &schema;
}

// Calls a method of the bus itself that answers with one value.
GVariant* AskBus(GDBusConnection* bus, const char* method, GVariant* parameters, const char* replyType)
{
    return g_dbus_connection_call_sync(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                       method, parameters, G_VARIANT_TYPE(replyType), G_DBUS_CALL_FLAGS_NONE, 1000,
                                       nullptr, nullptr);
}

bool ServiceOnBus(GDBusConnection* bus)
{
    if (GVariant* reply = AskBus(bus, "NameHasOwner", g_variant_new("(s)", kSecretsName), "(b)")) {
        gboolean owned = FALSE;
        g_variant_get(reply, "(b)", &owned);
        g_variant_unref(reply);
        if (owned)
            return true;
    }
    bool activatable = false;
    if (GVariant* reply = AskBus(bus, "ListActivatableNames", nullptr, "(as)")) {
        GVariantIter* names = nullptr;
        const char* name = nullptr;
        g_variant_get(reply, "(as)", &names);
        while (g_variant_iter_loop(names, "&s", &name))
            activatable = activatable || g_strcmp0(name, kSecretsName) == 0;
        g_variant_iter_free(names);
        g_variant_unref(reply);
    }
    return activatable;
}

std::string TakeMessage(GError* error)
{
    std::string text = error && error->message ? error->message : "the secret store failed";
    g_clear_error(&error);
    return text;
}

#endif

}  // namespace

#ifdef OSTREL_WITH_LIBSECRET

bool TPasswordStore::Available()
{
    if (!SessionBusConfigured())
        return false;
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (!bus)
        return false;
    const bool available = ServiceOnBus(bus);
    g_object_unref(bus);
    return available;
}

std::optional<std::string> TPasswordStore::Lookup(const TPasswordKey& key, std::string& error)
{
    GError* failure = nullptr;
    gchar* password = secret_password_lookup_sync(Schema(), nullptr, &failure, "protocol", key.protocol.c_str(),
                                                  "host", key.host.c_str(), "port", key.port, "user",
                                                  key.user.c_str(), nullptr);
    if (failure) {
        error = TakeMessage(failure);
        return std::nullopt;
    }
    if (!password)
        return std::nullopt;
    std::string text = password;
    secret_password_free(password);
    return text;
}

bool TPasswordStore::Save(const TPasswordKey& key, const std::string& password, std::string& error)
{
    const std::string label = "Ostrel: " + key.protocol + " " + key.user + "@" + key.host;
    GError* failure = nullptr;
    const gboolean saved = secret_password_store_sync(
        Schema(), SECRET_COLLECTION_DEFAULT, label.c_str(), password.c_str(), nullptr, &failure, "protocol",
        key.protocol.c_str(), "host", key.host.c_str(), "port", key.port, "user", key.user.c_str(), nullptr);
    if (!saved)
        error = TakeMessage(failure);
    return saved;
}

#else

bool TPasswordStore::Available()
{
    (void)SessionBusConfigured;
    return false;
}

std::optional<std::string> TPasswordStore::Lookup(const TPasswordKey&, std::string& error)
{
    error = "the program was built without libsecret";
    return std::nullopt;
}

bool TPasswordStore::Save(const TPasswordKey&, const std::string&, std::string& error)
{
    error = "the program was built without libsecret";
    return false;
}

#endif

}  // namespace ostrel
