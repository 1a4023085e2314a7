#include "reports_fixture.h"

#include "core/application.h"
#include "core/data_module.h"
#include "reportengine/preview_dialog.h"
#include "support/modal.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>

const char* kShopJournal = R"(
insert into accounts_dep.person (id, fio) values (1, 'Иванов И.И.'), (2, 'Петров П.П.');
insert into accounts_dep.izdel (id, marka, nom, massa) values (1, 'КР-1', 'Коробка', 2.5), (2, 'КШ-2', 'Крышка', 0.1);
insert into accounts_dep.vid_oper (id, vid) values (1, 'Резка'), (2, 'Покраска');
insert into accounts_dep.oper (id, vid, naimen, i_id) values (1, 1, 0, 1), (2, 2, 0, 1), (3, 2, 1, 2);
insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, color, ok) values
    (1, 1, 1, 12, 2, '2024-02-05', 1, 2.5, 0, 'ok'),
    (1, 1, 2, 2, 0, '2024-02-29', 2, 1.2345, 1, 'no'),
    (1, 2, 3, 3, 0, '2024-02-10', 1, 3.375, 5, 'ok'),
    (2, 1, 1, 7, 0, '2024-02-01', 3, 2.5, 0, 'ok'),
    (2, 1, 1, 100, 0, '2024-01-31', 1, 2.5, 0, 'ok'),
    (1, 1, 1, 100, 0, '2024-03-01', 1, 2.5, 0, 'ok'),
    (2, 2, 3, 3, 0, '2023-12-31', 1, 1, 7, 'ok');
)";

ReportsFixture::ReportsFixture()
{
    setWorkstationLocale();
    db = std::make_unique<TestDatabase>(QString::fromUtf8(kShopJournal));
    db->connectProgram();
    byWorkers = std::make_unique<TForm16>(*DataModule6);
    byProducts = std::make_unique<TForm17>(*DataModule6);
    detailByWorkers = std::make_unique<TForm20>(*DataModule6);
    detailByProducts = std::make_unique<TForm21>(*DataModule6);
    window = std::make_unique<TForm18>(
        *DataModule6, SummaryReports{*byWorkers, *byProducts, *detailByWorkers, *detailByProducts});
}

ReportsFixture::~ReportsFixture()
{
    window.reset();
    db.reset();
}

void ReportsFixture::setPeriod(const QDate& from, const QDate& to)
{
    window->DTPicker1->setDate(from);
    window->DTPicker2->setDate(to);
}

PrintedReport printReport(QPushButton* button, const QString& pdf)
{
    PrintedReport printed;
    whenModal([&printed, pdf](QWidget* shown) {
        auto* preview = qobject_cast<re::PreviewDialog*>(shown);
        if (!preview) {
            shown->close();
            return;
        }
        printed.title = preview->windowTitle();
        printed.maximized = preview->windowState().testFlag(Qt::WindowMaximized);
        printed.atPageWidth = preview->zoom() == re::Zoom::PageWidth;
        printed.pages = preview->pageCount();
        whenModal([&printed, pdf](QWidget* dialog) {
            auto* files = qobject_cast<QFileDialog*>(dialog);
            if (!files) {
                dialog->close();
                return;
            }
            printed.suggestedName = QFileInfo(files->selectedFiles().value(0)).fileName();
            files->selectFile(pdf);
            static_cast<QDialog*>(files)->accept();  // as the dialog's own button does
        });
        preview->findChild<QAction*>(QStringLiteral("savePdf"))->trigger();
        if (QFileInfo::exists(pdf)) printed.pdf = pdf;
        preview->accept();
    });
    button->click();
    return printed;
}
