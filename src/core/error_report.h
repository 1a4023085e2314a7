#pragma once
#include <QString>
#include <concepts>
#include <exception>
#include <utility>

// What the user is told when the connection to the database was lost (the next action connects again),
// and when another workstation holds the row the action needed.
inline const QString kConnectionLostText = QStringLiteral(
    "Связь с базой данных потеряна, действие не выполнено; при следующем действии программа подключится заново.");
inline const QString kRowBusyText = QStringLiteral(
    "Эту строку сейчас изменяет другое рабочее место, ничего не изменено; повторите действие немного позже.");

// The one place that turns an error escaping a user action into the standard error box. A lost connection
// and a busy row are told in the program's words, everything else with the error's own text.
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
