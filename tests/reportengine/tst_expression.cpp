#include "reportengine/expression.h"
#include "reportengine/memory_row_source.h"
#include "reportengine/report.h"
#include "reportengine/report_error.h"

#include <QTest>

using namespace re;

class ExpressionTest : public QObject {
    Q_OBJECT

private:
    MemoryRowSource source_{QStringLiteral("t_Report"),
                            {"fio", "nom", "naimen", "color", "kolvo", "summa", "sd1", "sd2", "sd3", "note", "amount"},
                            {
                                {"Иванов", "Коробка", 0, 0, 12, 30.5, 1, 2, 3.5, QVariant(), QString("12.50")},
                                {"Петров", "Крышка", 1, 1, 3.0, 4.25, 0, 0, 0, QVariant(), QString("7,5")},
                                {"Сидоров", "Крышка", 2, 5, 0, 0, 8, 0, 0, QVariant(), QString()},
                            }};

    FieldLookup lookup() const
    {
        return [this](const QString& qualifier, const QString& name) {
            if (!qualifier.isEmpty() && qualifier.compare(source_.name(), Qt::CaseInsensitive) != 0)
                throw ExpressionError{QStringLiteral("wrong query")};
            const int index = source_.fieldIndex(name);
            if (index < 0)
                throw ExpressionError{QStringLiteral("no field")};
            return index;
        };
    }

private slots:
    void evaluate_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("expected");

        const QString kind = QStringLiteral("IF(naimen=0,'Готовая продукция','Заготовки')");
        const QString colour = QStringLiteral("if(color>0,if(color=1,' (грунт)',' (RAL: '+STR(color)+')'),' ')");

        QTest::newRow("field") << "fio" << 0 << "Иванов";
        QTest::newRow("field in any case") << "FIO" << 1 << "Петров";
        QTest::newRow("qualified field") << "t_Report.nom" << 0 << "Коробка";
        QTest::newRow("qualifier in any case") << "T_REPORT.nom" << 1 << "Крышка";
        QTest::newRow("whole number") << "42" << 0 << "42";
        QTest::newRow("decimal number prints with comma") << "2.75" << 0 << "2,75";
        QTest::newRow("text with quote") << "'it''s'" << 0 << "it's";
        QTest::newRow("number field, default form") << "summa" << 0 << "30,5";
        QTest::newRow("whole double prints without decimals") << "kolvo" << 1 << "3";
        QTest::newRow("plus adds numbers") << "sd1+sd2+sd3" << 0 << "6,5";
        QTest::newRow("plus joins texts") << "fio+' '+nom" << 0 << "Иванов Коробка";
        QTest::newRow("text plus number joins") << "'N'+color" << 2 << "N5";
        QTest::newRow("minus and parentheses") << "-(kolvo-2)" << 0 << "-10";
        QTest::newRow("STR of a number") << "STR(summa)" << 1 << "4,25";
        QTest::newRow("product kind, finished") << kind << 0 << "Готовая продукция";
        QTest::newRow("product kind, blanks") << kind << 1 << "Заготовки";
        QTest::newRow("colour note, none") << colour << 0 << " ";
        QTest::newRow("colour note, primer") << colour << 1 << " (грунт)";
        QTest::newRow("colour note, RAL") << colour << 2 << " (RAL: 5)";
        QTest::newRow("if in mixed case") << "iF(color=1,'yes','no')" << 1 << "yes";
        QTest::newRow("greater on numbers") << "IF(kolvo>10,'many','few')" << 0 << "many";
        QTest::newRow("greater is strict") << "IF(kolvo>12,'many','few')" << 0 << "few";
        QTest::newRow("equal on texts") << "IF(fio='Петров',1,2)" << 1 << "1";
        QTest::newRow("not equal") << "IF(fio<>'Петров',1,2)" << 1 << "2";
        QTest::newRow("less or equal") << "IF(sd1<=1,'y','n')" << 0 << "y";
        QTest::newRow("texts compare as texts") << "IF(nom>'Коробка','y','n')" << 1 << "y";
        QTest::newRow("comparison prints as truth") << "kolvo=12" << 0 << "True";
        QTest::newRow("null prints empty") << "note" << 0 << "";
        QTest::newRow("null adds as zero") << "note+1" << 0 << "1";
        QTest::newRow("numeric text compares as number") << "IF(amount>12,'y','n')" << 0 << "y";
        QTest::newRow("numeric text with comma") << "IF(amount=7.5,'y','n')" << 1 << "y";
        QTest::newRow("page number") << "PAGENUMBER" << 0 << "3";
        QTest::newRow("page number in any case") << "'стр. '+STR(pagenumber)" << 0 << "стр. 3";
        QTest::newRow("spaces anywhere") << "  IF ( sd1 + 1 = 2 , 'a' , 'b' )  " << 0 << "a";
    }

    void evaluate()
    {
        QFETCH(QString, expression);
        QFETCH(int, row);
        QFETCH(QString, expected);

        const Expression e = Expression::parse(expression, lookup());
        EvalContext ctx;
        ctx.source = &source_;
        ctx.row = row;
        ctx.page = 3;
        QCOMPARE(e.evaluate(ctx).toText(u','), expected);
    }

    void sumReadsItsSlotAndExposesItsArgument()
    {
        Expression e = Expression::parse("STR(sum(kolvo)) + '/' + STR(SUM(sd1+sd2))", lookup());
        QCOMPARE(e.sumCount(), 2);
        e.bindSums(4);
        const double sums[] = {0, 0, 0, 0, 15, 7};
        EvalContext ctx;
        ctx.source = &source_;
        ctx.row = 0;
        ctx.sums = sums;
        QCOMPARE(e.evaluate(ctx).toText(u','), QStringLiteral("15/7"));
        QCOMPARE(e.sumArgument(0, ctx).toNumber(), 12.0);
        QCOMPARE(e.sumArgument(1, ctx).toNumber(), 3.0);
    }

    // A tree too deep to parse or evaluate on the stack is refused; layouts stay far below the limit.
    void depth_data()
    {
        QTest::addColumn<QString>("shallow"); // about 200 levels: read and evaluated
        QTest::addColumn<QString>("deep");    // 100,000 levels: used to overflow the stack
        QTest::addColumn<double>("value");
        const auto nested = [](int n, const QString& open, const QString& inner, const QString& close) {
            return open.repeated(n) + inner + close.repeated(n);
        };
        QTest::newRow("parentheses") << nested(200, "(", "1", ")") << nested(100000, "(", "1", ")") << 1.0;
        QTest::newRow("minus signs") << nested(200, "-", "1", "") << nested(100000, "-", "1", "") << 1.0;
        QTest::newRow("a long sum") << nested(199, "", "1", "+1") << nested(100000, "", "1", "+1") << 200.0;
        QTest::newRow("IF in IF") << nested(200, "IF(1,", "1", ",2)") << nested(100000, "IF(1,", "1", ",2)") << 1.0;
    }
    void depth()
    {
        QFETCH(QString, shallow);
        QFETCH(QString, deep);
        QFETCH(double, value);
        QCOMPARE(Expression::parse(shallow, lookup()).evaluate({}).toNumber(), value);
        try {
            Expression::parse(deep, lookup());
            QFAIL("a deep expression was accepted");
        } catch (const ExpressionError& e) {
            QVERIFY2(e.message.contains("nested deeper than"), qPrintable(e.message));
        }
    }

    // Faults are found when the report is built, and the text says what, where and in which expression.
    void buildErrors_data()
    {
        QTest::addColumn<QString>("where"); // detail, group or mask
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fault");

        QTest::newRow("unknown field") << "detail" << "kolvo+fio2" << "\"t_Report\" has no field \"fio2\" at position 7";
        QTest::newRow("other query") << "detail" << "w_Report.fio" << "names the query \"w_Report\"";
        QTest::newRow("unknown function") << "detail" << "ROUND(summa)" << "unknown function ROUND() at position 1";
        QTest::newRow("IF with two arguments") << "detail" << "IF(naimen=0,'a')" << "IF() takes 3 argument(s), not 2";
        QTest::newRow("STR with two arguments") << "detail" << "STR(1,2)" << "STR() takes 1 argument(s), not 2";
        QTest::newRow("sum inside sum") << "detail" << "sum(kolvo+sum(summa))" << "SUM() inside SUM()";
        QTest::newRow("missing parenthesis") << "detail" << "IF(naimen=0,'a','b'" << "expected ')' or ',', found end of expression";
        QTest::newRow("open text") << "detail" << "'Итого" << "text without its closing quote at position 1";
        QTest::newRow("dangling plus") << "detail" << "kolvo +" << "unexpected end of expression";
        QTest::newRow("two operands") << "detail" << "kolvo summa" << "unexpected \"summa\" at position 7";
        QTest::newRow("strange character") << "detail" << "kolvo * 2" << "unexpected character '*' at position 7";
        QTest::newRow("empty") << "detail" << "" << "empty expression";
        QTest::newRow("group on unknown field") << "group" << "t_Report.fiox" << "group 1 (t_Report.fiox) expression: \"t_Report\" has no field \"fiox\"";
        QTest::newRow("group on a sum") << "group" << "sum(kolvo)" << "a group expression cannot hold SUM()";
        QTest::newRow("mask without digits") << "mask" << "abc" << "mask \"abc\": no digit placeholder";
    }

    void buildErrors()
    {
        QFETCH(QString, where);
        QFETCH(QString, text);
        QFETCH(QString, fault);

        ReportDefinition d;
        d.name = QStringLiteral("Проба");
        d.detail.height = 5;
        d.detail.elements = {expr(13.2, 20, where == "detail" ? text : QStringLiteral("kolvo"))};
        if (where == "mask")
            d.detail.elements[0].mask = text;
        if (where == "group")
            d.groups = {Group{.expression = text}};

        try {
            Report report(d, source_);
            QFAIL("the definition was accepted");
        } catch (const ReportError& e) {
            const QString message = e.message();
            QVERIFY2(message.contains(fault), qPrintable(message));
            QVERIFY2(message.startsWith("report \"Проба\", "), qPrintable(message));
            if (where == "detail") {
                QVERIFY2(message.contains("detail band, element at 13.2 mm: "), qPrintable(message));
                QVERIFY2(message.contains(QStringLiteral("in expression \"%1\"").arg(text)), qPrintable(message));
            }
        }
    }

    void structureErrors_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("message");
        QTest::newRow("group without expression inside another")
            << 0 << "group 2: a group without expression must come before the groups with one";
        QTest::newRow("element beyond the printable width")
            << 1 << "page footer band, element at 195.0 mm: it starts beyond the printable width of 190.0 mm";
        QTest::newRow("unknown label") << 2 << "report \"Проба\" has no label \"QRLabel9\"";
    }

    void structureErrors()
    {
        QFETCH(int, fault);
        QFETCH(QString, message);
        ReportDefinition d;
        d.name = QStringLiteral("Проба");
        d.detail.height = 5;
        d.detail.elements = {label(0, 20, "x").withName("QRLabel1")};
        if (fault == 0)
            d.groups = {Group{.expression = "fio"}, Group{}};
        if (fault == 1)
            d.pageFooter = Band{.height = 5, .elements = {expr(195, 0, "PAGENUMBER")}};
        try {
            Report report(d, source_);
            if (fault == 2)
                report.setLabelText("QRLabel9", "heading");
            QFAIL("no error");
        } catch (const ReportError& e) {
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
        }
    }
};

QTEST_MAIN(ExpressionTest)
#include "tst_expression.moc"
