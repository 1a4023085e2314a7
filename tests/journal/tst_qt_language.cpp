// The words Qt draws for the program (message box buttons, the file and print dialogs, context menus)
// are Russian, read from the program's real windows under the tests' C locale.
#include "core/application.h"
#include "core/data_grid.h"
#include "journal/journal_window.h"
#include "program_fixture.h"
#include "reportengine/preview_dialog.h"
#include "reports/reports_window.h"

#include <QAction>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTabBar>
#include <QTableView>

namespace {

const char* kShop = R"(
insert into accounts_dep.person (id, fio) values (1, 'Алексеев А.А.');
insert into accounts_dep.izdel (id, marka, nom, massa) values (10, 'ПЛ-10', 'ПЛ', 1);
insert into accounts_dep.vid_oper (id, vid) values (5, 'Сварка');
insert into accounts_dep.oper (id, vid, naimen, i_id, cena_new) values (20, 5, 0, 10, 3.5);
insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, color, time, ok, vvod) values
    (1, 10, 20, 4, 0, current_date, 1, 3.5, 0, 3, 'no', current_date);
)";

// A text as the user reads it: without the mnemonic's ampersand and the shortcut after the tab.
QString shown(QString text)
{
    text = text.section(u'\t', 0, 0);
    text.remove(u'&');
    return text.trimmed();
}

// What Qt wrote on a window: titles, buttons, labels, group and tab captions, column headings, tool tips,
// menu items. Left out: lists of things that are names rather than words (folders, file types, printers,
// paper sizes), what the user types, and what a printer says of itself.
QStringList wordsOn(QWidget* top)
{
    // The print dialog's labels that show a printer's own location and model, as its owner named them.
    static const QStringList printerFacts{QStringLiteral("location"), QStringLiteral("type")};
    QStringList texts{top->windowTitle(), top->toolTip()};
    const QList<QWidget*> widgets = top->findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        texts << w->toolTip();
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            texts << b->text();
        else if (auto* l = qobject_cast<QLabel*>(w); l && !printerFacts.contains(l->objectName()))
            texts << l->text();
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            texts << g->title();
        else if (auto* tabs = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < tabs->count(); ++i) texts << tabs->tabText(i);
        else if (auto* h = qobject_cast<QHeaderView*>(w); h && h->model())
            for (int i = 0; i < h->count(); ++i) texts << h->model()->headerData(i, h->orientation()).toString();
    }
    QList<QAction*> actions = top->findChildren<QAction*>();
    actions += top->actions();
    for (QAction* a : actions) texts << a->text() << a->toolTip();
    QStringList words;
    for (const QString& t : texts)
        if (const QString s = shown(t); !s.isEmpty() && !words.contains(s)) words << s;
    return words;
}

// The texts among `words` that hold an English word. Names that are the same in Russian (PDF) pass.
QStringList english(const QStringList& words)
{
    static const QRegularExpression latinWord(QStringLiteral("[A-Za-z]{2,}"));
    static const QStringList names{QStringLiteral("PDF")};
    QStringList found;
    for (const QString& text : words) {
        for (const QRegularExpressionMatch& m : latinWord.globalMatch(text)) {
            if (!names.contains(m.captured())) {
                found << text;
                break;
            }
        }
    }
    return found;
}

// Right-clicks `w` and reads the context menu that opens (whether it runs its own loop or pops up), then
// closes it unchosen.
QStringList contextMenuOf(QWidget* w)
{
    QStringList words;
    bool read = false;
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, &words, &read] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        poll->stop();
        poll->deleteLater();
        words = wordsOn(menu);
        read = true;
        menu->close();
    });
    poll->start();
    const QPoint at = w->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, w->mapToGlobal(at));
    QApplication::sendEvent(w, &event);
    if (!QTest::qWaitFor([&read] { return read; }, 5000)) {
        poll->stop();
        poll->deleteLater();
    }
    return words;
}

}  // namespace

class QtLanguageTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;

    // Every expected Russian word is there, and no English one.
    static void check(const char* where, const QStringList& words, const QStringList& expected)
    {
        for (const QString& e : expected)
            QVERIFY2(words.contains(e), qPrintable(QStringLiteral("%1 lacks \"%2\": %3").arg(where, e, words.join(" | "))));
        const QStringList bad = english(words);
        QVERIFY2(bad.isEmpty(), qPrintable(QStringLiteral("%1 speaks English: %2").arg(where, bad.join(" | "))));
    }

private slots:
    void initTestCase()
    {
        // The machine's locale is C here (the tests' environment): the Russian words come from the program.
        setWorkstationLocale();
        QVERIFY2(qtCatalogueLoaded(),
                 qPrintable("Qt's Russian words are not in " + qtCatalogueFolder() + " (package qt6-translations-l10n)"));
        db = new TestDatabase(kShop);
    }
    void cleanupTestCase() { delete db; }
    void init()
    {
        QVERIFY(startOn(*db));
        createOtherWindows();
    }
    void cleanup() { takeDownWindows(); }

    // The journal's deletion question, answered No: its buttons are "Да" and "Нет", and the entry stays.
    void deleteQuestion()
    {
        QStringList words;
        bool answered = false;
        whileSignedIn("8629", [&] {
            QCOMPARE(Form1->DBGrid2->model()->rowCount(), 1);
            const QRect cell = Form1->DBGrid2->visualRect(Form1->DBGrid2->model()->index(0, 0));
            QTest::mouseClick(Form1->DBGrid2->viewport(), Qt::LeftButton, {}, cell.center());
            whenModal([&](QWidget* shown) {
                auto* box = qobject_cast<QMessageBox*>(shown);
                words = wordsOn(shown);
                if (QAbstractButton* no = box ? box->button(QMessageBox::No) : nullptr) {
                    answered = true;
                    no->click();
                } else {
                    shown->close();
                }
            });
            QTest::mouseClick(Form1->Button3, Qt::LeftButton);
        });
        QVERIFY2(answered, qPrintable("no question with a No button: " + words.join(" | ")));
        check("the deletion question", words, {"Удаление", "Удалить позицию из списка?", "Да", "Нет"});
        QCOMPARE(db->value("select count(*) from accounts_dep.smena"), QString("1"));
    }

    // The error box of a wrong sign-in word: its one button is the Cyrillic "ОК".
    void errorBox()
    {
        QStringList words;
        whenModal([&](QWidget* shown) {
            words = wordsOn(shown);
            auto* box = qobject_cast<QMessageBox*>(shown);
            if (QAbstractButton* ok = box ? box->button(QMessageBox::Ok) : nullptr)
                ok->click();
            else
                shown->close();
        });
        Form23->Edit1->setText("0000");
        QTest::keyClick(Form23->Edit1, Qt::Key_Return);
        check("the error box", words, {"Ошибка", "Введены неверные данные.", "ОК"});
    }

    // The text boxes' and the grid's context menus: the sign-in word, the journal's date, the journal
    // grid's scroll bar.
    void contextMenus()
    {
        check("the sign-in word's menu", contextMenuOf(Form23->Edit1),
              {"Отменить действие", "Вырезать", "Копировать", "Вставить", "Удалить", "Выделить всё"});
        QStringList dateMenu, scrollMenu;
        whileSignedIn("8629", [&] {
            dateMenu = contextMenuOf(Form1->DateT);
            scrollMenu = contextMenuOf(Form1->DBGrid2->verticalScrollBar());
        });
        check("the date box's menu", dateMenu, {"Копировать", "Выделить всё", "Шаг вверх", "Шаг вниз"});
        check("the grid's scroll bar menu", scrollMenu, {"Прокрутить сюда", "Вверх", "Вниз"});
    }

    // The journal's date drop-down: month and weekday names.
    void calendar()
    {
        QStringList words;
        whileSignedIn("8629", [&] {
            QCalendarWidget* calendar = Form1->DateT->calendarWidget();
            words = wordsOn(calendar);
            QAbstractItemModel* days = calendar->findChild<QTableView*>()->model();
            for (int c = 0; c < days->columnCount(); ++c) words << days->data(days->index(0, c)).toString();
        });
        check("the date drop-down", words, {"пн", "вс"});
        const QStringList months = words.filter(QRegularExpression(QStringLiteral("^[а-я]+ь$")));
        QVERIFY2(!months.isEmpty(), qPrintable(words.join(" | ")));
    }

    // The report preview as the reports window shows it, its "Сохранить в PDF" file dialog (Qt's own, as
    // the program opens it) and its print dialog, each closed without doing anything.
    void previewFileAndPrintDialogs()
    {
        QStringList preview, files, print;
        bool ownFileDialog = false;
        whileSignedIn("8629", [&] {
            whenModal([&](QWidget* reports) {
                const auto closeReports = qScopeGuard([reports] { reports->close(); });
                whenModal([&](QWidget* shown) {
                    const auto closePreview = qScopeGuard([shown] { shown->close(); });
                    QVERIFY2(qobject_cast<re::PreviewDialog*>(shown), qPrintable(shown->windowTitle()));
                    preview = wordsOn(shown);
                    whenModal([&](QWidget* dialog) {
                        ownFileDialog = qobject_cast<QFileDialog*>(dialog) && dialog->findChild<QDialogButtonBox*>();
                        files = wordsOn(dialog);
                        dialog->close();
                    });
                    shown->findChild<QAction*>("savePdf")->trigger();
                    whenModal([&](QWidget* dialog) {
                        print = wordsOn(dialog);
                        dialog->close();
                    });
                    shown->findChild<QAction*>("print")->trigger();
                });
                QTest::mouseClick(reports->findChild<QPushButton*>("Button4"), Qt::LeftButton);
            });
            Form1->N10->trigger();
        });
        check("the preview", preview, {"Первая страница", "Следующая страница", "Печать...", "Сохранить в PDF..."});
        QVERIFY2(ownFileDialog, "the PDF file dialog is not Qt's own");
        check("the PDF file dialog", files, {"Сохранить в PDF", "Сохранить", "Отмена", "Имя файла:", "Назад", "Создать папку"});
        check("the print dialog", print, {"Печать", "Принтер", "Отмена", "Копии", "Параметры"});
    }
};

QTEST_MAIN(QtLanguageTest)
#include "tst_qt_language.moc"
