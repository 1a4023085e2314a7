#pragma once
#include <concepts>
#include <exception>
#include <utility>

// The one place that turns an error escaping a user action into the standard error box.
void reportError(const std::exception& e);
void reportUnknownError();

// Wraps a handler so that an error ends only the action that raised it:
// connect(button, &QPushButton::clicked, this, guarded([this] { Button1Click(); }));
template <typename F>
auto guarded(F f)
{
    // Constrained, so that Qt can tell how many of a signal's arguments the handler takes.
    return [f = std::move(f)](auto&&... args) requires std::invocable<F&, decltype(args)...> {
        try {
            f(std::forward<decltype(args)>(args)...);
        } catch (const std::exception& e) {
            reportError(e);
        } catch (...) {
            reportUnknownError();
        }
    };
}
