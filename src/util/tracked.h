#pragma once

#include <glib-object.h>
#include <memory>
#include <sigc++/sigc++.h>

// A pointer that C code keeps for an object (the user data of an engine's
// asynchronous call or of a signal) and that turns null once the object is
// destroyed, however late the call comes. The object derives from
// sigc::trackable: sigc++ empties a slot tracked with track_obj when its
// object goes, and an empty slot returns null.
template <class T> class Tracked
{
public:
    explicit Tracked(T &owner) : m_owner(sigc::track_obj([&owner] { return &owner; }, owner)) {}

    // The object, or null once it is destroyed.
    T *get() const { return m_owner(); }

    // The same on the heap, as a C callback's user data: `hold` makes it; a
    // call made once takes it back with `take`, which frees it; a signal
    // reads it with `peek` and frees it with `release`, its destroy notify.
    static gpointer hold(T &owner) { return new Tracked(owner); }
    static T *take(gpointer data) { return std::unique_ptr<Tracked>(static_cast<Tracked *>(data))->get(); }
    static T *peek(gpointer data) { return static_cast<Tracked *>(data)->get(); }
    static void release(gpointer data, GClosure *) { delete static_cast<Tracked *>(data); }

private:
    sigc::slot<T *()> m_owner;
};
