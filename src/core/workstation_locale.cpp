#include "core/workstation_locale.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

const char* const kQtCatalogue = "qtbase_ru";
const char* const kOwnWords = "workstationWords";

// The few words Qt's Russian catalogue leaves in English on the program's boxes, written as a Russian
// workstation writes them. Asked before the catalogue; an empty answer lets the catalogue answer.
class WorkstationWords : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char* /*disambiguation*/, int /*n*/) const override
    {
        struct Word {
            const char* context;
            const char* source;
            const char* russian;
        };
        // The button of every error box: Cyrillic "ОК", as on the shop's old workstations.
        static const Word words[] = {
            {"QPlatformTheme", "OK", "ОК"},
        };
        for (const Word& w : words) {
            if (qstrcmp(context, w.context) == 0 && qstrcmp(source, w.source) == 0)
                return QString::fromUtf8(w.russian);
        }
        return {};
    }
};

void installQtWords(QCoreApplication& app)
{
    // Tests call this again under the same application object: one set of translators is enough.
    if (app.findChild<QTranslator*>(QLatin1String(kOwnWords), Qt::FindDirectChildrenOnly)) return;
    auto* catalogue = new QTranslator(&app);
    catalogue->setObjectName(QLatin1String(kQtCatalogue));
    if (catalogue->load(QLatin1String(kQtCatalogue), qtCatalogueFolder()))
        QCoreApplication::installTranslator(catalogue);
    else
        delete catalogue;  // Qt then speaks English; the program's own words below still apply.
    auto* own = new WorkstationWords(&app);
    own->setObjectName(QLatin1String(kOwnWords));
    QCoreApplication::installTranslator(own);
}

}  // namespace

void setWorkstationLocale()
{
    // The machine's own zone, named: with TZ unset the C library looks at /etc/localtime again for every
    // local date and time it converts, a file lookup per date read from the database (a quarter of the
    // time a journal day took to open). Named, it is read once; the zone is the same.
    if (!qEnvironmentVariableIsSet("TZ") && QFileInfo::exists(QStringLiteral("/etc/localtime")))
        qputenv("TZ", ":/etc/localtime");
    QLocale ru(QLocale::Russian, QLocale::Russia);
    // Numbers are written without thousands separators, as the shop's old workstations did.
    ru.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(ru);
    if (QCoreApplication* app = QCoreApplication::instance()) installQtWords(*app);
}

QString qtCatalogueFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool qtCatalogueLoaded()
{
    QCoreApplication* app = QCoreApplication::instance();
    return app && app->findChild<QTranslator*>(QLatin1String(kQtCatalogue), Qt::FindDirectChildrenOnly);
}
