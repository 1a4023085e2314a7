// piecework-screenshots: the pictures of the user's guide, taken from the real program.
//
//   piecework-screenshots DATABASE SERVER IMAGES [GUIDE]
//
// Starts the program's windows against the database (the demo shop), signs in with full access, reaches
// every window of the picture list as a user would, and writes one PNG per window into IMAGES. With GUIDE,
// it then fills the guide's picture places. Run it on the offscreen platform (scripts/screenshots does).
// Exit status 0 when every window the program has was pictured.
#include "core/application.h"
#include "core/messages.h"
#include "journal/startup.h"
#include "screenshots/guide_pictures.h"
#include "screenshots/shot_list.h"
#include "screenshots/shot_runner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

void say(const QString& text)
{
    std::fprintf(stderr, "screenshots: %s\n", qPrintable(text));
}

bool fillGuide(const QString& guidePath, const QDir& images, const ShotRunner& runner)
{
    QFile file(guidePath);
    if (!file.open(QIODevice::ReadOnly)) {
        say(QStringLiteral("cannot read ") + guidePath);
        return false;
    }
    const QString before = QString::fromUtf8(file.readAll());
    file.close();
    const QDir guideDir = QFileInfo(guidePath).absoluteDir();
    QList<GuidePicture> pictures;
    for (const Shot& s : guideShots()) {
        if (!runner.taken.contains(s.name) && !runner.missing.contains(s.name)) continue;
        pictures.append({s.name, s.caption, guideDir.relativeFilePath(images.filePath(s.name + QStringLiteral(".png"))),
                         runner.taken.contains(s.name)});
    }
    QStringList unplaced;
    const QString after = fillGuidePictures(before, pictures, &unplaced);
    for (const QString& name : unplaced) say(QStringLiteral("the guide has no place for the picture ") + name);
    if (after == before) return true;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        say(QStringLiteral("cannot write ") + guidePath);
        return false;
    }
    file.write(after.toUtf8());
    say(QStringLiteral("filled the picture places of ") + guidePath);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    PieceworkApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 3 || args.size() > 4) {
        std::fputs("usage: piecework-screenshots DATABASE SERVER IMAGES [GUIDE]\n", stderr);
        return 2;
    }
    const QDir images(QFileInfo(args.at(2)).absoluteFilePath());
    if (!QDir().mkpath(images.path())) {
        say(QStringLiteral("cannot make ") + images.path());
        return 1;
    }

    ShotRunner runner(guideShots(), images);
    // Nobody is there to answer: a question is answered "No", and any message spoils its picture.
    msg::setHandler([&runner](const msg::Request& r) {
        say(QStringLiteral("the program said \"%1\"").arg(r.text));
        runner.noteMessage(r.text);
        return (r.buttons & msg::No) ? int(msg::No) : int(msg::Ok);
    });

    int status = 1;
    {
        ProgramWindows windows;
        if (!windows.start({args.at(0), args.at(1)})) return 1;
        windows.createWindows();
        runner.start();
        status = app.exec();
    }

    say(QStringLiteral("pictured: ") + runner.taken.join(u' '));
    if (!runner.missing.isEmpty()) say(QStringLiteral("not in the program yet: ") + runner.missing.join(u' '));
    for (const QString& f : runner.failed) say(QStringLiteral("FAILED ") + f);
    if (status != 0 || !runner.failed.isEmpty()) return 1;
    if (args.size() == 4 && !fillGuide(args.at(3), images, runner)) return 1;
    return 0;
}
