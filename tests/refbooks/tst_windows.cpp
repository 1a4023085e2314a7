// The books' windows as built: captions, labelled boxes, what starts hidden, and the keys of the boxes.
#include "core/application.h"
#include "books_fixture.h"
#include "journal/entry_editor.h"
#include "journal/instances.h"
#include "refbooks/kind_editor.h"
#include "refbooks/kinds_list.h"
#include "refbooks/operation_dialog.h"
#include "refbooks/product_editor.h"
#include "refbooks/products_list.h"
#include "refbooks/worker_editor.h"
#include "refbooks/workers_list.h"

#include <QAccessible>
#include <QCalendarWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

Q_DECLARE_METATYPE(ListWindow*)

namespace {
// The widget Tab goes to next.
QWidget* nextTabStop(QWidget* w)
{
    do w = w->nextInFocusChain();
    while (!(w->focusPolicy() & Qt::TabFocus));
    return w;
}
}  // namespace

class WindowsTest : public QObject {
    Q_OBJECT

    QList<QDialog*> all() const { return {Form2, Form3, Form5, Form7, Form8, Form9, Form10, Form11}; }

private slots:
    void initTestCase()
    {
        setWorkstationLocale();
        createBookWindows();  // the data module exists but is not connected: nothing here reads rows
    }

    void everyBoxIsNamedByItsLabel()
    {
        for (QDialog* w : all()) {
            if (w != Form11) QVERIFY2(!w->windowTitle().isEmpty(), qPrintable(w->objectName()));
            QList<QWidget*> boxes;
            // A drop-down list's own box and the year box of a date box's calendar are parts of those
            // controls, named by Qt, not boxes of the window.
            const auto inCalendar = [](QWidget* e) {
                for (QWidget* p = e->parentWidget(); p; p = p->parentWidget())
                    if (qobject_cast<QCalendarWidget*>(p)) return true;
                return false;
            };
            for (auto* e : w->findChildren<QLineEdit*>())
                if (!qobject_cast<QComboBox*>(e->parentWidget()) && !inCalendar(e)) boxes << e;
            for (auto* c : w->findChildren<QComboBox*>()) boxes << c;
            for (QWidget* box : boxes) {
                const QString where = w->objectName() + "." + box->objectName();
                QLabel* label = nullptr;
                for (auto* l : w->findChildren<QLabel*>())
                    if (l->buddy() == box) label = l;
                QVERIFY2(label, qPrintable(where));
                QAccessibleInterface* a = QAccessible::queryAccessibleInterface(box);
                QVERIFY2(a, qPrintable(where));
                // On Linux Qt names a drop-down list by its chosen entry and gives its label as a relation.
                auto* combo = qobject_cast<QComboBox*>(box);
                if (combo && !combo->currentText().isEmpty()) {
                    bool labelled = false;
                    for (const auto& r : a->relations(QAccessible::Label)) labelled |= r.first->object() == label;
                    QVERIFY2(labelled, qPrintable(where));
                } else {
                    QCOMPARE(a->text(QAccessible::Name), plain(label->text()));
                }
            }
        }
    }

    void listsStartAsDesigned_data()
    {
        QTest::addColumn<ListWindow*>("book");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("editButtons");
        QTest::addColumn<bool>("search");
        QTest::newRow("workers") << static_cast<ListWindow*>(Form5) << "Список рабочих" << true << true;
        QTest::newRow("products") << static_cast<ListWindow*>(Form3) << "Изделия" << false << false;
        QTest::newRow("kinds") << static_cast<ListWindow*>(Form8) << "Виды операций" << true << false;
    }
    void listsStartAsDesigned()
    {
        QFETCH(ListWindow*, book);
        QFETCH(QString, caption);
        QFETCH(bool, editButtons);
        QFETCH(bool, search);
        QCOMPARE(book->windowTitle(), caption);
        for (QPushButton* b : {book->Button1, book->Button2, book->Button3}) QCOMPARE(!b->isHidden(), editButtons);
        QCOMPARE(!book->Edit1->isHidden(), search);
        QVERIFY(book->Button1->isDefault());
        QVERIFY(!book->Button2->isDefault());
        QCOMPARE(plain(book->Button4->text()), QString("Выход"));
    }

    // After Up and Down, the workers and kinds books mark every key handled but typing and Backspace;
    // the products book only those two.
    void searchBoxKeys_data()
    {
        QTest::addColumn<ListWindow*>("book");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("cursor");
        auto* workers = static_cast<ListWindow*>(Form5);
        auto* kinds = static_cast<ListWindow*>(Form8);
        auto* products = static_cast<ListWindow*>(Form3);
        for (auto* b : {workers, kinds}) {
            const QByteArray n = b->objectName().toLatin1();
            QTest::newRow(n + " Left") << b << int(Qt::Key_Left) << "" << "абв" << 1;
            QTest::newRow(n + " Home") << b << int(Qt::Key_Home) << "" << "абв" << 1;
            QTest::newRow(n + " End") << b << int(Qt::Key_End) << "" << "абв" << 1;
            QTest::newRow(n + " Delete") << b << int(Qt::Key_Delete) << "" << "абв" << 1;
            QTest::newRow(n + " Backspace") << b << int(Qt::Key_Backspace) << "" << "бв" << 0;
            QTest::newRow(n + " typed") << b << int(Qt::Key_unknown) << "г" << "агбв" << 2;
        }
        QTest::newRow("Form3 Left") << products << int(Qt::Key_Left) << "" << "абв" << 0;
        QTest::newRow("Form3 End") << products << int(Qt::Key_End) << "" << "абв" << 3;
        QTest::newRow("Form3 Delete") << products << int(Qt::Key_Delete) << "" << "ав" << 1;
        QTest::newRow("Form3 typed") << products << int(Qt::Key_unknown) << "г" << "агбв" << 2;
    }
    void searchBoxKeys()
    {
        QFETCH(ListWindow*, book);
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(QString, after);
        QFETCH(int, cursor);
        book->Edit1->setText("абв");
        book->Edit1->setCursorPosition(1);
        QTest::sendKeyEvent(QTest::Click, book->Edit1, Qt::Key(key), text, Qt::NoModifier);
        QCOMPARE(book->Edit1->text(), after);
        QCOMPARE(book->Edit1->cursorPosition(), cursor);
        book->Edit1->clear();
    }

    void rateBoxTakesDigitsAndOneKindOfSeparator()
    {
        Form7->Edit2->clear();
        typeText(Form7->Edit2, "1a.5 x,2-");
        QCOMPARE(Form7->Edit2->text(), QString("1,5,2"));
        QTest::keyClick(Form7->Edit2, Qt::Key_Backspace);
        QTest::keyClick(Form7->Edit2, Qt::Key_Home);
        typeText(Form7->Edit2, "0");
        QCOMPARE(Form7->Edit2->text(), QString("01,5,"));
    }

    void editorsAndTheirTabOrder()
    {
        QCOMPARE(Form2->windowTitle(), QString("Работники"));
        QCOMPARE(Form7->windowTitle(), QString("Изделие"));
        QVERIFY(Form2->Button1->isDefault());
        const QList<QWidget*> order{Form2->Edit1, Form2->LCB_staffpos, Form2->LCB_department, Form2->LCB_roles, Form2->Button1,
                                    Form2->Button2};
        for (int i = 0; i + 1 < order.size(); ++i) QCOMPARE(nextTabStop(order[i]), order[i + 1]);
        QCOMPARE(nextTabStop(Form7->Edit1), static_cast<QWidget*>(Form7->Edit2));
        QCOMPARE(nextTabStop(Form7->Edit2), static_cast<QWidget*>(Form7->Button1));
    }
};

QTEST_MAIN(WindowsTest)
#include "tst_windows.moc"
