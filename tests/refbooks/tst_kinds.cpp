// The operation kinds book against the database: pick into the operation dialog, add, rename, delete.
#include "core/application.h"
#include "refbooks/book_opening.h"
#include "books_fixture.h"
#include "core/data_module.h"
#include "refbooks/book_instances.h"
#include "refbooks/kind_editor.h"
#include "refbooks/kinds_list.h"
#include "support/message_recorder.h"
#include "refbooks/operation_dialog.h"
#include "support/test_database.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {
const char* kKinds = R"(
truncate accounts_dep.vid_oper restart identity;
insert into accounts_dep.vid_oper (vid) values ('Сварка'), ('Резка'), ('Гибка'), ('Сверловка ''Б'''), ('Покраска 100%');
)";
const QStringList kAll{"Гибка", "Покраска 100%", "Резка", "Сварка", "Сверловка 'Б'"};
}

class KindsTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;
    Dataset* kinds() { return DataModule6->Vid_oper; }
    int idOf(const QString& vid) { return db->idOf("vid_oper", "vid", vid); }
    QStringList stored() { return db->rows("select vid from accounts_dep.vid_oper order by vid"); }

private slots:
    void initTestCase()
    {
        setWorkstationLocale();
        db = new TestDatabase;
        db->connectProgram();
        createBookWindows();
    }
    void cleanupTestCase() { delete db; }
    void init()
    {
        db->exec(kKinds);
        Form8->Edit1->clear();
    }

    void pick_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("downs");
        QTest::addColumn<QString>("kind");  // empty: no row, so an empty name and id 0
        QTest::newRow("first match") << "св" << 0 << "Сварка";
        QTest::newRow("second match") << "СВ" << 1 << "Сверловка 'Б'";
        QTest::newRow("quote") << "сверловка 'б" << 0 << "Сверловка 'Б'";
        QTest::newRow("percent is itself") << "Покраска 100%" << 0 << "Покраска 100%";
        QTest::newRow("percent matches no other text") << "Покраска 1%" << 0 << "";
        QTest::newRow("nothing found") << "я" << 0 << "";
    }
    void pick()
    {
        QFETCH(QString, typed);
        QFETCH(int, downs);
        QFETCH(QString, kind);
        const std::optional<PickedRow> picked = whilePicking(Form8, [&] {
            QCOMPARE(Form8->focusWidget(), static_cast<QWidget*>(Form8->Edit1));
            typeText(Form8->Edit1, typed);
            for (int i = 0; i < downs; ++i) QTest::keyClick(Form8->Edit1, Qt::Key_Down);
            QTest::keyClick(Form8->Edit1, Qt::Key_Return);
            QVERIFY(!Form8->isVisible());
        });
        QCOMPARE(bool(picked), !kind.isEmpty());
        if (picked) {
            QCOMPARE(picked->text, kind);
            QCOMPARE(picked->id, idOf(kind));
        }
        QVERIFY(!kinds()->isOpen());
        QVERIFY(Form8->Edit1->isHidden());
        QVERIFY(!Form8->Button2->isDefault());
        QVERIFY(Form8->Button1->isDefault());
    }

    void save_data()
    {
        QTest::addColumn<QString>("row");  // the kind renamed; empty for a new one
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");  // empty: saved
        QTest::addColumn<QStringList>("after");
        const QString dup = "Такая операция уже заведена!";
        QTest::newRow("new, trimmed, quotes and percent")
            << "" << "  Шлифовка 'О''Нил' 50%_ " << "" << QStringList{"Гибка", "Покраска 100%", "Резка", "Сварка", "Сверловка 'Б'", "Шлифовка 'О''Нил' 50%_"};
        QTest::newRow("new, other case") << "" << "сварка" << dup << kAll;
        QTest::newRow("new, quoted in other case") << "" << "СВЕРЛОВКА 'б'" << dup << kAll;
        QTest::newRow("new, blank") << "" << "   " << "Все поля должны быть заполнены!" << kAll;
        QTest::newRow("own name in other case") << "Сварка" << "СВАРКА" << "" << QStringList{"Гибка", "Покраска 100%", "Резка", "СВАРКА", "Сверловка 'Б'"};
        QTest::newRow("own quoted name in other case") << "Сверловка 'Б'" << "сверловка 'б'" << "" << QStringList{"Гибка", "Покраска 100%", "Резка", "Сварка", "сверловка 'б'"};
        QTest::newRow("another kind's name, other case") << "Резка" << "гибка" << dup << kAll;
    }
    void save()
    {
        QFETCH(QString, row);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QStringList, after);
        MessageRecorder rec;
        const bool adding = row.isEmpty();
        const int id = adding ? 0 : idOf(row);
        whileManaging(Form8, kinds(), [&] {
            QVERIFY(Form8->Edit1->isHidden());
            onNextModal([&](QDialog*) {
                QCOMPARE(Form9->windowTitle(), QString(adding ? "Заведение нового вида операций" : "Изменение данных вида операции"));
                QCOMPARE(Form9->Edit1->text(), row);
                Form9->Edit1->clear();
                typeText(Form9->Edit1, typed);
                QTest::keyClick(Form9->Edit1, Qt::Key_Return);
                QCOMPARE(Form9->isVisible(), !message.isEmpty());
                QCOMPARE(kinds()->state(), Dataset::State::Browse);
            });
            if (!adding) QVERIFY(kinds()->locate("vid", row));
            const int before = kinds()->recNo();
            if (adding)
                Form8->Button1->click();
            else
                doubleClickRow(Form8->DBGrid1, before - 1);
            // Re-read from the database after a save, at the first row; a refused save leaves the list
            // where it was.
            QCOMPARE(shownTexts(kinds(), "vid"), after);
            QCOMPARE(kinds()->recNo(), message.isEmpty() ? 1 : before);
        });
        QCOMPARE(rec.texts(), message.isEmpty() ? QStringList{} : QStringList{message});
        QCOMPARE(stored(), after);
        if (!adding && message.isEmpty()) QCOMPARE(idOf(after.filter(typed).value(0)), id);
    }

    void deleteRereads_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("yes") << int(msg::Yes);
        QTest::newRow("no") << int(msg::No);
    }
    void deleteRereads()
    {
        QFETCH(int, answer);
        MessageRecorder rec;
        rec.answers << answer;
        const bool deletes = answer == msg::Yes;
        QStringList left = kAll;
        if (deletes) left.removeAt(2);
        whileManaging(Form8, kinds(), [&] {
            kinds()->setRecNo(3);
            Form8->Button3->click();
            QCOMPARE(shownTexts(kinds(), "vid"), left);
            QCOMPARE(kinds()->recNo(), deletes ? 1 : 3);
        });
        QCOMPARE(rec.texts(), QStringList{"Удалить вид операции?"});
        QCOMPARE(rec.seen[0].caption, QString("Удаление"));
        QCOMPARE(stored(), left);
    }
};

QTEST_MAIN(KindsTest)
#include "tst_kinds.moc"
