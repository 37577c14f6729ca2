// Compat.h: what the show's C++20 sources use and emscripten's older
// standard library lacks; included before every source of the web build.
#pragma once

#include <version>

#if !defined(__cpp_lib_bit_cast) && defined(__cplusplus)
#include <cstring>
#include <type_traits>
namespace std {
// std::bit_cast for trivially copyable types of equal size.
template <class To, class From>
    requires(sizeof(To) == sizeof(From) && is_trivially_copyable_v<To> && is_trivially_copyable_v<From>)
To bit_cast(const From& from) noexcept
{
    To to;
    memcpy(&to, &from, sizeof to);
    return to;
}
}  // namespace std
#endif
