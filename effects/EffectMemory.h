// EffectMemory.h: the fixed blocks of the effect objects, allocated once.
//
// The effect objects allocate their arrays when they are built and keep them
// until the process ends. When such a block cannot be had, the show cannot
// go on: the object's own text goes to standard error with the system's
// error text (and, for some objects, into a message box), and the process
// ends with a failure status.
// Needs: image/Message.h for the box. No GL.
#pragma once

#include <cerrno>
#include <cstddef>
#include <limits>
#include <memory>
#include <new>

// Prints "text: <system error>" to standard error, shows text in a
// "MALLOC ERROR" box when withMessageBox is set, and exits with EXIT_FAILURE.
[[noreturn]] void failAllocation(const char* text, bool withMessageBox);

// A zeroed block of count values of T, or the end of the process through
// failAllocation when it cannot be allocated (also when count * sizeof(T)
// would not fit in memory's address range).
template <class T>
std::unique_ptr<T[]> allocateBlock(std::size_t count, const char* text, bool withMessageBox)
{
    if (count > std::numeric_limits<std::size_t>::max() / sizeof(T) / 2) {
        errno = ENOMEM;
        failAllocation(text, withMessageBox);
    }
    errno = 0;
    std::unique_ptr<T[]> block(new (std::nothrow) T[count]());
    if (!block) failAllocation(text, withMessageBox);
    return block;
}
