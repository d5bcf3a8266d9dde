#include "Dispatch.h"

#include "Error.h"

namespace platform {

void DispatchArgument::setValue(Variant value)
{
    if (!m_ref)
        throw DispatchError(QStringLiteral("Cannot write to an argument passed by value"));
    *m_ref = std::move(value);
}

uint32_t DispatchObject::addRef() noexcept
{
    return m_references.fetch_add(1) + 1;
}

uint32_t DispatchObject::release() noexcept
{
    const uint32_t remaining = m_references.fetch_sub(1) - 1;
    if (remaining == 0)
        delete this;
    return remaining;
}

Variant DispatchObject::invoke(int32_t dispId, DispatchArguments& arguments)
{
    try {
        return dispatch(dispId, arguments);
    } catch (const DispatchError&) {
        throw;
    } catch (const Error& error) {
        throw DispatchError(error.message());
    } catch (const std::exception& error) {
        throw DispatchError(QString::fromUtf8(error.what()));
    } catch (...) {
        throw DispatchError(
            QStringLiteral("Dispatch call %1 failed with an unknown exception").arg(dispId));
    }
}

} // namespace platform
