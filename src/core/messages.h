#pragma once
#include <QString>
#include <functional>

// Every message box of the program goes through here, so that tests can record and answer them.
namespace msg {

enum class Icon { Stop, Question, Information, Warning };
enum Button { Ok = 1, Yes = 2, No = 4, Cancel = 8 };

struct Request {
    Icon icon = Icon::Stop;
    QString caption;
    QString text;
    int buttons = Ok;
};

using Handler = std::function<int(const Request&)>;

// Shows the box modally and answers the button pressed.
int show(const Request& request);

// Replaces the way boxes are shown (tests record and answer); an empty handler restores the real boxes.
void setHandler(Handler handler);

inline const QString kErrorCaption = QStringLiteral("Ошибка");

// An error box: stop icon, OK button.
void error(const QString& text, const QString& caption = kErrorCaption);

// A question with Yes and No and the question icon; true for Yes.
bool askYesNo(const QString& caption, const QString& text);

}  // namespace msg
