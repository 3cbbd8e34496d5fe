#include "TestSupport.h"

#include "app/ErrorReport.h"

#include <QApplication>
#include <QTest>

// Runs every test object of this area. A class name given as the first
// argument runs only that class (the rest of the arguments go to QTest).
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program's own application object, so tests see its error report.
    zanthe::ZantheApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);

    QStringList args = app.arguments();
    QString only;
    if (args.size() > 1 && !args.at(1).startsWith('-')) {
        only = args.at(1);
        args.removeAt(1);
    }
    int failures = 0;
    for (auto& [name, factory] : zanthe::test::registry()) {
        if (!only.isEmpty() && only != QLatin1String(name))
            continue;
        std::unique_ptr<QObject> object = factory();
        failures += QTest::qExec(object.get(), args) != 0 ? 1 : 0;
    }
    return failures == 0 ? 0 : 1;
}
