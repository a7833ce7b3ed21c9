#pragma once
// Calls a hook that may not be set: an unset hook does nothing and returns
// a default value. The window's parts meet through such hooks, and a test
// that builds one part alone sets only those it needs.

#include <functional>
#include <type_traits>
#include <utility>

namespace varkel {

template <typename R, typename... A, typename... Args>
R CallHook(const std::function<R(A...)> &hook, Args &&...args)
{
    if (hook)
        return hook(std::forward<Args>(args)...);
    if constexpr (!std::is_void_v<R>)
        return R();
}

} // namespace varkel
