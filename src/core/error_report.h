#pragma once
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
    return [f = std::move(f)](auto&&... args) {
        try {
            f(std::forward<decltype(args)>(args)...);
        } catch (const std::exception& e) {
            reportError(e);
        } catch (...) {
            reportUnknownError();
        }
    };
}
