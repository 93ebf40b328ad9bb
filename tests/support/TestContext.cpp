#include "TestContext.h"

#include "settings/Defaults.h"
#include "settings/SettingsStore.h"
#include "storage/AppSetup.h"
#include "storage/Connections.h"
#include "storage/modTempDB.h"

#include <QLocale>
#include <QTest>

TestContext::TestContext(Setup setup) {
    pinLocale();
    prompt = std::make_shared<ScriptedPrompt>();
    ctx.prompt = prompt;
    AppSetup::initContext(ctx, dir_.path() + QStringLiteral("/Corvanel"),
                          dir_.path() + QStringLiteral("/config"));
    if (setup == Setup::Full) {
        QString error;
        if (!AppSetup::ensureDataFolder(ctx, &error))
            qFatal("test data folder: %s", qPrintable(error));
        modMain::WriteDefaultSettings(*ctx.settings);
    }
}

TestContext::~TestContext() {
    if (ctx.connections)
        ctx.connections->closeAll();
}

void TestContext::createTempDB() {
    modTempDB::CreateTempDB(ctx);
}

void TestContext::pinLocale() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}
