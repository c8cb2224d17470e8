// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/AppError.h"
#include "platform/MessageBoxes.h"

#include <type_traits>
#include <utility>

// A connected slot that lets no AppError out: Qt's event loop cannot pass an exception on, so the
// error is shown as a message and the slot ends there. The slot takes the signal's arguments, or
// as many of the first ones as it wants.
template <typename Slot> struct GuardedSlot
{
    Slot slot;

    template <typename... Args>
    requires std::is_invocable_v<const Slot&, Args...>
    void operator()(Args&&... args) const
    {
        try {
            slot(std::forward<Args>(args)...);
        } catch (const AppError& error) {
            MessageBoxes::showError(error);
        }
    }
};

template <typename Slot> GuardedSlot<Slot> guarded(Slot slot)
{
    return {std::move(slot)};
}
