#pragma once
#include "reports/products_detail_report.h"
#include "reports/products_report.h"
#include "reports/reports_window.h"
#include "reports/workers_detail_report.h"
#include "reports/workers_report.h"
#include "support/test_database.h"

#include <QTemporaryDir>
#include <memory>

class QPushButton;

// A small shop's journal, February 2024 and around it:
//   Иванов И.И. Коробка (КР-1, 2.5 kg) Резка, finished, 12 pieces 2 rejects at 2.5, colour 0, 05.02
//               Коробка Покраска, finished, 2 at 1.2345, colour 1, 29.02 (the leap day)
//               Крышка (КШ-2, 0.1 kg) Покраска, blanks, 3 at 3.375, colour 5, 10.02
//   Петров П.П. Коробка Резка, 7 at 2.5, colour 0, 01.02
// and outside February: 100 of Коробка Резка on 31.01 and on 01.03, and 3 of Крышка Покраска in
// colour 7 on 31.12.2023.
extern const char* kShopJournal;

// The database, the program's connection, the four reports and the reports window over them.
struct ReportsFixture {
    ReportsFixture();
    ~ReportsFixture();

    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<TForm16> byWorkers;
    std::unique_ptr<TForm17> byProducts;
    std::unique_ptr<TForm20> detailByWorkers;
    std::unique_ptr<TForm21> detailByProducts;
    std::unique_ptr<TForm18> window;

    void setPeriod(const QDate& from, const QDate& to);
};

// What a report button led to: the preview as it opened, and its pages saved as PDF from it.
struct PrintedReport {
    QString pdf;            // empty when no preview opened
    QString suggestedName;  // the file name the save offered
    QString title;          // the preview's caption
    bool maximized = false;
    bool atPageWidth = false;
    int pages = 0;
};

// Clicks the report button, and in the preview saves the pages as `pdf` through the file dialog,
// then closes the preview.
PrintedReport printReport(QPushButton* button, const QString& pdf);
