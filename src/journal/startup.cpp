#include "journal/startup.h"

#include "core/data_module.h"
#include "journal/instances.h"
#include "journal/changes_window.h"
#include "journal/entry_editor.h"
#include "journal/entry_history_window.h"
#include "journal/journal_window.h"
#include "journal/people_window.h"
#include "journal/signin_window.h"
#include "refbooks/kind_editor.h"
#include "refbooks/kinds_list.h"
#include "refbooks/norms_window.h"
#include "refbooks/operation_dialog.h"
#include "refbooks/operations_list.h"
#include "refbooks/product_editor.h"
#include "refbooks/products_list.h"
#include "refbooks/worker_editor.h"
#include "refbooks/workers_list.h"
#include "reports/products_detail_report.h"
#include "reports/pay_statements_window.h"
#include "reports/products_report.h"
#include "reports/reports_window.h"
#include "reports/workers_detail_report.h"
#include "reports/workers_report.h"
#include "timesheet/time_sheet_print.h"
#include "timesheet/time_sheet_window.h"

ProgramWindows::ProgramWindows()
{
    if (!DataModule6) {
        ownData_ = std::make_unique<TDataModule6>();
        DataModule6 = ownData_.get();
    }
    data_ = DataModule6;
}

ProgramWindows::~ProgramWindows()
{
    for (std::size_t i = windows_.size(); i-- > 0;) {
        delete windows_[i].data();
        clearGlobals_[i]();
    }
    if (ownData_) {
        DataModule6 = nullptr;
        ownData_.reset();
    }
}

template <typename W>
W* ProgramWindows::make(W*& global)
{
    global = new W(*data_);
    return adopt(global);
}

template <typename W>
W* ProgramWindows::adopt(W*& global)
{
    windows_.emplace_back(global);
    clearGlobals_.push_back([&global] { global = nullptr; });
    return global;
}

bool ProgramWindows::start(const QStringList& arguments)
{
    make(Form1);
    if (!Form1->FormCreate(arguments)) return false;
    make(Form23)->show();
    return true;
}

void ProgramWindows::createWindows()
{
    make(Form2);
    make(Form3);
    make(Form4);
    make(Form5);
    make(Form7);
    make(Form8);
    make(Form9);
    make(Form10);
    make(Form11);
    make(Form22);
    // The time sheet window is handed its printed sheet, the reports window its four reports, so they
    // come first.
    make(Form15);
    Form19 = new TForm19(*data_, *Form15);
    adopt(Form19);
    make(Form16);
    make(Form17);
    make(Form20);
    make(Form21);
    Form18 = new TForm18(*data_, SummaryReports{*Form16, *Form17, *Form20, *Form21});
    adopt(Form18);
    // The pay statements choose their worker from the workers book.
    Form24 = new TForm24(*data_, [] {
        std::optional<StatementWorker> chosen;
        if (const std::optional<PickedRow> worker = pickWorker(*Form5)) chosen = StatementWorker{worker->id, worker->text};
        return chosen;
    });
    adopt(Form24);
    make(Form25);
    make(Form26);
    make(Form27);
}
