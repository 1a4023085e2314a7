#pragma once
#include "reports/payroll.h"
#include "reports/report_period.h"
#include "spreadsheet/spreadsheet.h"

#include <QDialog>
#include <functional>
#include <optional>

class Dataset;
class QCheckBox;
class QDate;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TDataModule6;

// A worker chosen for a statement of its own: the code and the name.
struct StatementWorker {
    int code = 0;
    QString name;
};

// "Расчетные листки": the pay statements of a period in the preview, for one worker or for every worker
// with entries in it, and the period's pay for payroll as a workbook or a CSV file, written where the user
// chooses. All of them read the same lines (store::reads::payStatementLines), so they agree.
class TForm24 : public QDialog {
    Q_OBJECT
public:
    // Asks the user for a worker; nothing when none was chosen.
    using WorkerPicker = std::function<std::optional<StatementWorker>()>;

    TForm24(TDataModule6& data, WorkerPicker pickWorker, QWidget* parent = nullptr);

    QGroupBox* GroupBox1;        // "Период"
    QLabel* Label1;
    QDateEdit* DTPicker1;        // from, included
    QLabel* Label2;
    QDateEdit* DTPicker2;        // to, not included
    QGroupBox* GroupBox2;        // "Рабочие"
    QRadioButton* RadioButton1;  // every worker with entries in the period
    QRadioButton* RadioButton2;  // one worker
    QLabel* Label3;
    QLineEdit* Edit1;            // the chosen worker's name, read-only
    QPushButton* Button5;        // "...": the workers book to choose from; also Enter or F4 in Edit1
    QCheckBox* CheckBox1;        // only accepted entries count
    QPushButton* Button1;        // "Просмотр": the statements in the preview
    QPushButton* Button2;        // "Excel": the pay for payroll as a workbook
    QPushButton* Button3;        // "CSV": the same as a CSV file
    QPushButton* Button4;        // "Выход", also Esc
    Dataset* PayLines;           // the statements' lines

    // What opens the written workbook; tests put their own here.
    Spreadsheet::Opener WorkbookOpener = Spreadsheet::openOnDesktop;

    // The worker of a statement of its own, or none; chosen with the worker's button.
    void setWorker(const std::optional<StatementWorker>& worker);
    std::optional<StatementWorker> worker() const { return worker_; }

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Selection {
        ReportPeriod period;
        int worker = 0;  // 0: every worker with entries
        bool acceptedOnly = false;
    };
    // What the window asks for, unless it cannot be: then the user has been told why.
    std::optional<Selection> chosen() const;
    // PayLines opened for the selection; false, with the user told, when it holds no line.
    bool openLines(const Selection& selection);
    // The file the pay goes to, asked for; empty when the user gave up.
    QString payFile(const Selection& selection, const QString& suffix, const QString& filter);
    // The pay for payroll of what the window asks for, and the file it goes to; nothing when there is
    // none or the user gave up (told why where there was a why).
    struct PayOut {
        std::vector<PayrollRow> rows;
        QString path;
    };
    std::optional<PayOut> payFor(const QString& suffix, const QString& filter);

    WorkerPicker pickWorker_;
    std::optional<StatementWorker> worker_;
    QString lastFolder_;  // where the last file went: the next one is offered there
};

// The journal's menu "Расчетные листки": the period preset to the whole month before `today`'s, then the
// window shown modally. The worker and the acceptance switch stay as last chosen.
void openPayStatements(TForm24& window, const QDate& today);
