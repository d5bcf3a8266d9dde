#pragma once

#include "PlatformExport.h"
#include "Variant.h"

#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

namespace platform {

// One positional argument of a late-bound call: by value, or by reference to a
// caller's variant which the callee may replace.
class PLATFORM_EXPORT DispatchArgument {
public:
    static DispatchArgument byValue(Variant value)
    {
        return DispatchArgument(std::move(value), nullptr);
    }
    static DispatchArgument byRef(Variant& target) { return DispatchArgument(Variant(), &target); }

    bool isByRef() const noexcept { return m_ref != nullptr; }
    const Variant& value() const noexcept { return m_ref ? *m_ref : m_value; }
    // Replaces the caller's variant; raises DispatchError for a by-value argument.
    void setValue(Variant value);

private:
    DispatchArgument(Variant value, Variant* ref) : m_value(std::move(value)), m_ref(ref) {}
    Variant m_value;
    Variant* m_ref;
};

using DispatchArguments = std::vector<DispatchArgument>;

// A dispatch object: counted references and late-bound invocation by dispatch id.
// The object deletes itself when the last reference is released.
class PLATFORM_EXPORT DispatchObject {
public:
    DispatchObject() = default;
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    // Both return the new count.
    uint32_t addRef() noexcept;
    uint32_t release() noexcept;
    uint32_t referenceCount() const noexcept { return m_references.load(); }

    // Calls member dispId with positional arguments and returns its result. Any failure of
    // the mechanism (unknown id, wrong argument count, the callee throwing anything) comes
    // out as DispatchError.
    Variant invoke(int32_t dispId, DispatchArguments& arguments);
    Variant invoke(int32_t dispId, DispatchArguments&& arguments)
    {
        return invoke(dispId, arguments);
    }

protected:
    virtual ~DispatchObject() = default;
    // The member call itself; may throw. Raise DispatchError for unknown ids or counts.
    virtual Variant dispatch(int32_t dispId, DispatchArguments& arguments) = 0;

private:
    std::atomic<uint32_t> m_references{1}; // the creator holds the first reference
};

// Owning smart reference: adds a reference on copy, releases on destruction.
template <typename T> class DispatchRef {
public:
    DispatchRef() = default;
    // Takes a new counted reference on object (null allowed).
    explicit DispatchRef(T* object) : m_object(object)
    {
        if (m_object)
            m_object->addRef();
    }
    // Adopts the creator's reference of a freshly created object without adding one.
    static DispatchRef adopt(T* object)
    {
        DispatchRef ref;
        ref.m_object = object;
        return ref;
    }
    DispatchRef(const DispatchRef& other) : DispatchRef(other.m_object) {}
    DispatchRef(DispatchRef&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    DispatchRef& operator=(DispatchRef other) noexcept
    {
        std::swap(m_object, other.m_object);
        return *this;
    }
    ~DispatchRef() { reset(); }

    void reset()
    {
        if (T* object = std::exchange(m_object, nullptr))
            object->release();
    }
    T* get() const noexcept { return m_object; }
    T* operator->() const noexcept { return m_object; }
    explicit operator bool() const noexcept { return m_object != nullptr; }

private:
    T* m_object = nullptr;
};

} // namespace platform
