#pragma once
// A member that reads and writes like a plain field: assigning to it calls a
// setter of the owning object, reading it calls a getter. The value itself
// lives in the owner; the property only knows whom to ask.
//
//   Owner  the class that holds the property as a member
//   T      the value type
//   Arg    the argument type, in practice const T&
template <class Owner, class T, class Arg>
class property {
public:
    using Getter = Arg (Owner::*)() const;
    using Setter = void (Owner::*)(Arg);
    using RefGetter = T& (Owner::*)();

    property(Owner* obj, Getter get, Setter set, RefGetter getRef)
        : m_p_obj(obj), m_p_get_fun(get), m_p_set_fun(set), m_p_get_ref_fun(getRef) {}

    // Copying rebinds to the source's owner and accessors; no setter runs.
    property(const property&) = default;
    property& operator=(const property&) = default;

    // Runs the setter, then yields the value as the owner stored it, which
    // need not be the value assigned.
    T& operator=(Arg value) {
        (m_p_obj->*m_p_set_fun)(value);
        return (m_p_obj->*m_p_get_ref_fun)();
    }

    operator Arg() const { return (m_p_obj->*m_p_get_fun)(); }

    Owner* m_p_obj;
    Getter m_p_get_fun;
    Setter m_p_set_fun;
    RefGetter m_p_get_ref_fun;
};
