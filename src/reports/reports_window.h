#pragma once
#include "reports/report_period.h"
#include "spreadsheet/spreadsheet.h"

#include <QDialog>
#include <optional>

class Dataset;
class QButtonGroup;
class QDate;
class QDateEdit;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class SummaryReport;
class TDataModule6;
class TForm16;
class TForm17;
class TForm20;
class TForm21;

// The four printed summary reports the reports window runs.
struct SummaryReports {
    TForm16& byWorkers;
    TForm17& byProducts;
    TForm20& detailByWorkers;
    TForm21& detailByProducts;
};

// "Отчеты": a period and a product kind, then one of the four summary reports in the preview, or the
// period's output by products in a spreadsheet.
class TForm18 : public QDialog {
    Q_OBJECT
public:
    TForm18(TDataModule6& data, SummaryReports reports, QWidget* parent = nullptr);

    QGroupBox* RadioGroup1;  // "Вид продукции": "Все", "Готовая продукция", "Заготовки"
    QGroupBox* GroupBox1;    // "Период отбора"
    QLabel* Label1;
    QDateEdit* DTPicker1;    // from, included
    QLabel* Label2;
    QDateEdit* DTPicker2;    // to, not included
    QPushButton* Button4;    // "Отчет по рабочим"
    QPushButton* Button2;    // "Отчет по продукции"
    QPushButton* Button1;    // "Детальный отчет по рабочим"
    QPushButton* Button3;    // "Детальный отчет по продукции"
    QPushButton* Button6;    // "Excel (n из R)": the export, counting its rows
    QPushButton* Button5;    // "Выход", also Esc
    Dataset* XLS_Rep;        // the export's rows

    // Where the export's workbook goes and what opens it; tests put their own here.
    Spreadsheet::Opener WorkbookOpener = Spreadsheet::openOnDesktop;
    QString WorkbookFolder;  // empty: the program's own workbook folder

    // RadioGroup1's chosen item, 0 to 2.
    int productKindIndex() const;
    void setProductKindIndex(int index);
    QRadioButton* productKindItem(int index) const;

    void Button4Click();
    void Button2Click();
    void Button1Click();
    void Button3Click();
    void Button6Click();
    void Button5Click();

private:
    ReportPeriod period() const;
    // The period, unless it is reversed: then the user has been told so.
    std::optional<ReportPeriod> chosenPeriod() const;
    ProductKind productKind() const;
    void runReport(SummaryReport& report, const QString& headingPrefix);

    SummaryReports reports_;
    QButtonGroup* kinds_;
};

// The journal's menu "Сводные отчеты": the period preset to the whole month before `today`'s, then the
// window shown modally. The product kind stays as last chosen.
void openReportsWindow(TForm18& window, const QDate& today);

// The warehouse's restriction: "Готовая продукция" chosen and the choice disabled for the whole run.
void fixProductKindForDepot(TForm18& window);
