#pragma once
#include <QString>
#include <QStringList>

// Fills the picture places of the guide: between "<!-- picture: NAME -->" and "<!-- /picture -->" goes
// the picture NAME (a path relative to the guide) when it was taken, and a note when the program does
// not have its window yet. Places of pictures that are neither are left as they are.
struct GuidePicture {
    QString name;
    QString caption;
    QString path;  // relative to the guide
    bool taken = false;
};

QString fillGuidePictures(const QString& guide, const QList<GuidePicture>& pictures, QStringList* unplaced);
