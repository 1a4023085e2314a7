#include "core/messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QScopeGuard>

namespace msg {
namespace {

Handler& handler()
{
    static Handler h;
    return h;
}

int showBox(const Request& r)
{
    QMessageBox::Icon icon = QMessageBox::Critical;
    switch (r.icon) {
    case Icon::Stop: icon = QMessageBox::Critical; break;
    case Icon::Question: icon = QMessageBox::Question; break;
    case Icon::Information: icon = QMessageBox::Information; break;
    case Icon::Warning: icon = QMessageBox::Warning; break;
    }
    QMessageBox::StandardButtons buttons;
    if (r.buttons & Ok) buttons |= QMessageBox::Ok;
    if (r.buttons & Yes) buttons |= QMessageBox::Yes;
    if (r.buttons & No) buttons |= QMessageBox::No;
    if (r.buttons & Cancel) buttons |= QMessageBox::Cancel;
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent) parent = QApplication::activeWindow();
    // The user answers the box with the ordinary arrow, also in the middle of a long action.
    const bool waiting = QGuiApplication::overrideCursor() != nullptr;
    if (waiting) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    const auto restore = qScopeGuard([waiting] {
        if (waiting) QGuiApplication::restoreOverrideCursor();
    });
    QMessageBox box(icon, r.caption, r.text, buttons, parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setAccessibleName(r.caption);
    switch (box.exec()) {
    case QMessageBox::Yes: return Yes;
    case QMessageBox::No: return No;
    case QMessageBox::Cancel: return Cancel;
    case QMessageBox::Ok: return Ok;
    default:
        // Closed without a button (Esc, or the program ending under it).
        return (r.buttons & No) ? No : (r.buttons & Cancel) ? Cancel : Ok;
    }
}

}  // namespace

int show(const Request& request)
{
    return handler() ? handler()(request) : showBox(request);
}

void setHandler(Handler h)
{
    handler() = std::move(h);
}

void error(const QString& text, const QString& caption)
{
    show({Icon::Stop, caption, text, Ok});
}

bool askYesNo(const QString& caption, const QString& text)
{
    return show({Icon::Question, caption, text, Yes | No}) == Yes;
}

}  // namespace msg
