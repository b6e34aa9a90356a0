#include "platform/contacts/EdsLibrary.h"

#include <dlfcn.h>

namespace platform {

namespace {

// The library's names in the releases whose functions Ringwise uses
// unchanged, newest first.
constexpr const char* LIBRARY_NAMES[] = {
    "libebook-1.2.so.21",
    "libebook-1.2.so.20",
    "libebook-1.2.so.19",
};

template<typename Function> bool resolve(void* handle, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(::dlsym(handle, name));
    return function != nullptr;
}

} // namespace

const EdsLibrary* EdsLibrary::get()
{
    static EdsLibrary* library = [] {
        static EdsLibrary loaded;
        return loaded.load() ? &loaded : nullptr;
    }();
    return library;
}

bool EdsLibrary::load()
{
    for (const char* name : LIBRARY_NAMES) {
        // Never closed: see the class comment.
        handle_ = ::dlopen(name, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        if (handle_)
            break;
    }
    if (!handle_)
        return false;
    return resolve(handle_, "e_source_registry_new_sync", source_registry_new_sync)
        && resolve(handle_, "e_source_registry_list_enabled", source_registry_list_enabled)
        && resolve(handle_, "e_source_get_uid", source_get_uid)
        && resolve(handle_, "e_book_client_connect_sync", book_client_connect_sync)
        && resolve(handle_, "e_book_client_get_contacts_sync", book_client_get_contacts_sync)
        && resolve(handle_, "e_vcard_to_string", vcard_to_string)
        && resolve(handle_, "g_object_unref", object_unref) && resolve(handle_, "g_free", free)
        && resolve(handle_, "g_error_free", error_free)
        && resolve(handle_, "g_list_free_full", list_free_full)
        && resolve(handle_, "g_slist_free_full", slist_free_full)
        && resolve(handle_, "g_cancellable_new", cancellable_new)
        && resolve(handle_, "g_cancellable_cancel", cancellable_cancel);
}

void* EdsLibrary::symbol(const char* name) const
{
    return ::dlsym(handle_, name);
}

} // namespace platform
