#pragma once

#include "common/AppContext.h"
#include "common/Prompt.h"

#include <QTemporaryDir>
#include <memory>

// A whole installation in a temporary folder: data folder, settings folder, shipped databases,
// first-start settings and a scripted prompt. Nothing touches the user's real folders.
class TestContext {
public:
    enum class Setup { Full, Empty };
    explicit TestContext(Setup setup = Setup::Full);
    ~TestContext();

    AppContext ctx;
    std::shared_ptr<ScriptedPrompt> prompt;

    QString root() const { return dir_.path(); }
    // Also creates the working database, as entering a work mode does.
    void createTempDB();

    // Pins the locale so that dates and currency read the same on every machine.
    static void pinLocale();

private:
    QTemporaryDir dir_;
};
