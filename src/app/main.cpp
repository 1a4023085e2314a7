#include "application.h"
#include "connection.h"
#include "data_module.h"
#include "instances.h"
#include "messages.h"

int main(int argc, char** argv)
{
    PieceworkApplication app(argc, argv);
    DataModule6 = new TDataModule6(&app);
    try {
        DataModule6->openDatabase(connectionStringForArguments(app.arguments().mid(1)));
    } catch (const std::exception&) {
        msg::error(QStringLiteral("Подключение к БД отсутсвует!!!"), QStringLiteral("Ошибка!"));
        return 1;
    }
    return 0;
}
