// The product group derived from a mark: the 22 prefix rules in order, later and longer ones winning.
#include "refbooks/product_group.h"

#include <QtTest>

class ProductGroupTest : public QObject {
    Q_OBJECT
private slots:
    void group_data()
    {
        QTest::addColumn<QString>("mark");
        QTest::addColumn<QString>("group");
        // One mark per rule, in the rules' order, with the letter case varied.
        QTest::newRow("1 ПЛ") << "пл-12" << "Платик";
        QTest::newRow("2 КР") << "КР-1" << "Кронштейны оцинкованные";
        QTest::newRow("3 ПП") << "ПП-4" << "Паранитовые прокладки";
        QTest::newRow("4 М2") << "м2-10" << "М2";
        QTest::newRow("5 ПР") << "ПР-40" << "Профиль основной";
        QTest::newRow("6 ПРН over ПР") << "ПРН-1" << "Профиль Н-обр.";
        QTest::newRow("7 ПРГ") << "прг" << "Профиль ГО";
        QTest::newRow("8 ПРZ, Latin z") << "прz-3" << "Профиль Z-обр.";
        QTest::newRow("9 САМ") << "САМ-4,2" << "Саморезы";
        QTest::newRow("10 МДФ") << "мдф-1" << "МДФ скобы";
        QTest::newRow("11 УДЛ") << "УДЛ" << "Удленитель";
        QTest::newRow("12 КЛОЦ") << "КЛОЦ-2" << "Кляммеры оцинкованные";
        QTest::newRow("13 С1КЛ") << "с1кл-5" << "Кляммеры поворотные";
        QTest::newRow("14 С2КЛ") << "С2КЛ" << "Кляммеры дистанционные";
        QTest::newRow("15 С3КЛ") << "С3КЛ-9" << "Кляммеры концевые";
        QTest::newRow("16 ПДГВ") << "ПДГВ-2" << "Профильи декоративн. горизонт.вертик.";
        QTest::newRow("17 ПРД У over ПР") << "ПРД У-1" << "Профили дек. угловые";
        QTest::newRow("18 ПРД В") << "прд в" << "Профили дек. вертикальные";
        QTest::newRow("19 ПРД Г") << "ПРД Г-7" << "Профили дек. горизонтальные";
        QTest::newRow("20 КЛ430") << "КЛ430-1" << "Кляммеры нерж., 430";
        QTest::newRow("21 КР АL over КР, any case") << "кр аl-5" << "Кронштейны аллюминиевые";
        QTest::newRow("22 КЛ1304, Cyrillic Х") << "КЛ1304-8" << "Кляммеры нерж., 12Х18";

        // Look-alike letters from the other alphabet do not match.
        QTest::newRow("КР АЛ with Cyrillic Л is only КР") << "КР АЛ-5" << "Кронштейны оцинкованные";
        QTest::newRow("ПРЗ with Cyrillic З is only ПР") << "ПРЗ-3" << "Профиль основной";
        QTest::newRow("ПЛ with Latin P, L matches nothing") << "PL-1" << "PL-";
        // A longer rule that does not fit leaves the shorter one's group.
        QTest::newRow("ПРХ is ПР") << "ПРХ-1" << "Профиль основной";
        QTest::newRow("ПРД without a kind letter is ПР") << "ПРД-1" << "Профиль основной";
        QTest::newRow("КЛ1304 cut short") << "КЛ130" << "КЛ1";
        // No rule: the first three characters as typed, or the whole of a shorter mark.
        QTest::newRow("no rule") << "абв-1" << "абв";
        QTest::newRow("no rule, two characters") << "аб" << "аб";
        QTest::newRow("no rule, one character of a rule") << "П" << "П";
        QTest::newRow("no rule, case kept") << "Xyz12" << "Xyz";
        QTest::newRow("no rule, quote and percent") << "о'%_1" << "о'%";
        QTest::newRow("empty") << "" << "";
    }
    void group()
    {
        QFETCH(QString, mark);
        QFETCH(QString, group);
        QCOMPARE(productGroup(mark), group);
    }
};

QTEST_APPLESS_MAIN(ProductGroupTest)
#include "tst_product_group.moc"
