// Long work made visible: the wait cursor, the progress dialog of long reports and its cancel button,
// and saving as PDF that never leaves a torn file behind.
#include "reportengine/memory_row_source.h"
#include "reportengine/preview_dialog.h"
#include "reportengine/report.h"
#include "reportengine/work_progress.h"

#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <QGuiApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace re;

namespace {

// Five rows to a page.
ReportDefinition tallRows()
{
    ReportDefinition d;
    d.name = QStringLiteral("Длинный отчет");
    d.detail.height = 50;
    d.detail.elements = {expr(0, 50, QStringLiteral("n"))};
    return d;
}

MemoryRowSource numbers(int count)
{
    MemoryRowSource rows(QStringLiteral("q"), {QStringLiteral("n")});
    for (int i = 0; i < count; ++i) rows.append({i});
    return rows;
}

// Hands every step to the work's own progress and, once its dialog is up, presses its cancel button.
struct CancelWhenShown {
    WorkProgress& work;
    bool pressed = false;
    Qt::CursorShape cursor = Qt::ArrowCursor;

    Progress progress()
    {
        return [this, inner = work.progress()](int done, int total, int pages) {
            if (QGuiApplication::overrideCursor()) cursor = QGuiApplication::overrideCursor()->shape();
            const bool goOn = inner(done, total, pages);
            if (work.dialog() && !pressed) {
                pressed = true;
                work.dialog()->findChild<QPushButton*>()->click();
            }
            return goOn;
        };
    }
};

}  // namespace

class ProgressTest : public QObject {
    Q_OBJECT

private slots:
    // A report of a few pages is prepared under the wait cursor, without a dialog.
    void shortWorkShowsTheWaitCursorOnly()
    {
        const MemoryRowSource rows = numbers(50);
        Report report(tallRows(), rows);
        Qt::CursorShape during = Qt::ArrowCursor;
        {
            WorkProgress work(nullptr, QStringLiteral("Подготовка отчета"));
            const Progress inner = work.progress();
            QVERIFY(report.prepare([&](int done, int total, int pages) {
                during = QGuiApplication::overrideCursor()->shape();
                return inner(done, total, pages);
            }));
            QVERIFY(!work.dialog());
        }
        QCOMPARE(during, Qt::WaitCursor);
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(report.pageCount(), 10);
    }

    // Laying out some 400 pages brings up the dialog; its cancel button stops the work and leaves no pages.
    void longPreparationCanBeCancelled()
    {
        const MemoryRowSource rows = numbers(2000);
        Report report(tallRows(), rows);
        WorkProgress work(nullptr, QStringLiteral("Подготовка отчета"));
        CancelWhenShown canceller{work};
        QVERIFY(!report.prepare(canceller.progress()));
        QVERIFY(canceller.pressed);
        QCOMPARE(work.dialog()->windowTitle(), QStringLiteral("Подготовка отчета"));
        QCOMPARE(work.dialog()->findChild<QPushButton*>()->text(), QStringLiteral("Отмена"));
        QCOMPARE(canceller.cursor, Qt::BusyCursor);
        QVERIFY(!report.isPrepared());
        QCOMPARE(report.pageCount(), 0);
    }

    // Saving 400 pages shows the dialog from the start; a cancelled save leaves the file that was there
    // as it was, a finished one replaces it.
    void longSaveCanBeCancelled()
    {
        const MemoryRowSource rows = numbers(2000);
        Report report(tallRows(), rows);
        QVERIFY(report.prepare());
        QCOMPARE_GT(report.pageCount(), WorkProgress::kManyPages);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("отчет.pdf"));
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        {
            WorkProgress work(nullptr, QStringLiteral("Сохранение в PDF"));
            CancelWhenShown canceller{work};
            QVERIFY(!report.writePdf(path, canceller.progress()));
            QVERIFY(canceller.pressed);
        }
        QFile kept(path);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("old"));
        kept.close();
        QVERIFY(report.writePdf(path));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QVERIFY(kept.read(5) == "%PDF-");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"отчет.pdf"});
    }

    // A preview of a report whose first pages only are laid out shows them at once and lays out the rest
    // while it waits, its count marked as growing until then; a save before that lays out what is left
    // first, under the same progress dialog, and writes every page.
    void previewLaysOutTheRestWhileItWaits()
    {
        const MemoryRowSource rows = numbers(3000);
        Report report(tallRows(), rows);
        report.prepareFirstPages(1);
        QVERIFY(!report.isPrepared());
        {
            PreviewDialog preview(report);
            auto* label = preview.findChild<QLabel*>(QStringLiteral("pageLabel"));
            const int first = preview.pageCount();
            QVERIFY(first >= 1 && first < 600);
            QCOMPARE(label->text(), QStringLiteral("Страница 1 из %1…").arg(first));
            QTRY_VERIFY(preview.pageCount() > first);
            QTRY_VERIFY_WITH_TIMEOUT(report.isPrepared(), 20000);
            QCOMPARE(preview.pageCount(), 600);
            QCOMPARE(label->text(), QStringLiteral("Страница 1 из 600"));
        }

        Report unfinished(tallRows(), rows);
        unfinished.prepareFirstPages(1);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("все.pdf"));
        PreviewDialog preview(unfinished);
        bool dialogShown = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            dialogShown = dialogShown || preview.findChild<QProgressDialog*>();
            if (auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                files->selectFile(path);
                static_cast<QDialog*>(files)->accept();
            }
        });
        watch.start(1);
        preview.savePdf();
        watch.stop();
        QVERIFY(unfinished.isPrepared());
        QVERIFY(dialogShown);
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {path});
        QVERIFY(info.waitForFinished());
        QVERIFY(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression(QStringLiteral("Pages:\\s+600\\b"))));
    }

    void pdfFileNames_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("file");
        QTest::newRow("heading") << "   Отчет по рабочим за период с 01.02.2024 по 01.03.2024"
                                 << "Отчет по рабочим за период с 01.02.2024 по 01.03.2024.pdf";
        QTest::newRow("refused characters") << "a/b\\c:d*e?f\"g<h>i|j" << "a_b_c_d_e_f_g_h_i_j.pdf";
        QTest::newRow("nothing left") << "  " << "Отчет.pdf";
    }
    void pdfFileNames()
    {
        QFETCH(QString, document);
        QFETCH(QString, file);
        QCOMPARE(pdfFileName(document), file);
    }
};

QTEST_MAIN(ProgressTest)
#include "tst_progress.moc"
