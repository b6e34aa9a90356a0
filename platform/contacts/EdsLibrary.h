#pragma once

#include <cstdint>

namespace platform {

// The client library of Evolution Data Server, the address book service of
// GNOME and Phosh, loaded at run time so that Ringwise runs where it is not
// installed. It is loaded the first time it is asked for and stays loaded:
// it registers GObject types, which cannot be unloaded. Only the few
// functions the contacts store needs are looked up; GLib's own come through
// the library's dependencies.
class EdsLibrary {
public:
    // The singly and doubly linked lists of GLib, as the library hands them out.
    struct SList {
        void* data;
        SList* next;
    };
    struct List {
        void* data;
        List* next;
        List* prev;
    };
    using Destroy = void (*)(void*);

    // Null where the library or one of the functions is missing.
    static const EdsLibrary* get();

    // Any other function of the library or of its dependencies.
    void* symbol(const char* name) const;

    void* (*source_registry_new_sync)(void* cancellable, void** error);
    List* (*source_registry_list_enabled)(void* registry, const char* extension);
    const char* (*source_get_uid)(void* source);
    void* (*book_client_connect_sync)(
        void* source, std::uint32_t wait_seconds, void* cancellable, void** error);
    int (*book_client_get_contacts_sync)(
        void* client, const char* query, SList** contacts, void* cancellable, void** error);
    char* (*vcard_to_string)(void* card, int format);

    void (*object_unref)(void* object);
    void (*free)(void* memory);
    void (*error_free)(void* error);
    void (*list_free_full)(List* list, Destroy destroy);
    void (*slist_free_full)(SList* list, Destroy destroy);
    void* (*cancellable_new)();
    void (*cancellable_cancel)(void* cancellable);

private:
    EdsLibrary() = default;
    bool load();

    void* handle_ { nullptr };
};

// Frees the error a call of the library reported, when it reported one.
class EdsError {
public:
    explicit EdsError(const EdsLibrary& library)
        : library_(library)
    {
    }
    ~EdsError()
    {
        if (error_)
            library_.error_free(error_);
    }
    EdsError(const EdsError&) = delete;
    EdsError& operator=(const EdsError&) = delete;

    void** out() { return &error_; }

private:
    const EdsLibrary& library_;
    void* error_ { nullptr };
};

// One reference to a GObject of the library, released when it goes.
class EdsObject {
public:
    EdsObject(const EdsLibrary& library, void* object)
        : library_(library)
        , object_(object)
    {
    }
    ~EdsObject()
    {
        if (object_)
            library_.object_unref(object_);
    }
    EdsObject(const EdsObject&) = delete;
    EdsObject& operator=(const EdsObject&) = delete;

    void* get() const { return object_; }

private:
    const EdsLibrary& library_;
    void* object_;
};

// The extension name of the sources that are address books.
constexpr const char* EDS_ADDRESS_BOOK_EXTENSION = "Address Book";
// The text form of a card that e_vcard_to_string writes: vCard 3.0.
constexpr int EDS_VCARD_30 = 1;

} // namespace platform
