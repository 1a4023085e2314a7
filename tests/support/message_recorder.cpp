#include "support/message_recorder.h"

#include <QStringList>

MessageRecorder::MessageRecorder()
{
    msg::setHandler([this](const msg::Request& r) {
        seen.append(r);
        if (!answers.isEmpty()) return answers.takeFirst();
        return (r.buttons & msg::Yes) ? int(msg::Yes) : int(msg::Ok);
    });
}

MessageRecorder::~MessageRecorder()
{
    msg::setHandler({});
}

QStringList MessageRecorder::texts() const
{
    QStringList t;
    for (const auto& r : seen) t << r.text;
    return t;
}
