#include "app/ContextHelp.h"

#include "app/HelpWindow.h"
#include "common/AppContext.h"

#include <QKeyEvent>
#include <QMap>
#include <QWidget>

namespace ContextHelp {

namespace {

// Each window's section of the help. A window added to the program gets its line here and its
// section on the page of the subsystem it belongs to.
const QMap<QString, QString>& pages() {
    static const QMap<QString, QString> map = {
        {QStringLiteral("frmGreet"), QStringLiteral("quickstart.html#first")},
        {QStringLiteral("frmAbout"), QStringLiteral("mainwindow.html#about")},
        {QStringLiteral("frmSysInfo"), QStringLiteral("mainwindow.html#about")},
        {QStringLiteral("frmSetup"), QStringLiteral("setup.html")},
        {QStringLiteral("frmRestore"), QStringLiteral("setup.html#backup")},
        {QStringLiteral("frmOpenEst"), QStringLiteral("owner.html#open")},
        {QStringLiteral("frmManageStatus"), QStringLiteral("owner.html#manage")},
        {QStringLiteral("frmEstSummary"), QStringLiteral("owner.html#summary")},
        {QStringLiteral("frmOwnerDetail"), QStringLiteral("owner.html#ownerdetail")},
        {QStringLiteral("frmContactGrid"), QStringLiteral("owner.html#contacts")},
        {QStringLiteral("frmAreas"), QStringLiteral("roof.html#areas")},
        {QStringLiteral("frmLineal"), QStringLiteral("roof.html#lineal")},
        {QStringLiteral("frmPickItem"), QStringLiteral("lineitems.html#pick")},
        {QStringLiteral("frmAddSection"), QStringLiteral("lineitems.html#sections")},
        {QStringLiteral("frmSortSections"), QStringLiteral("lineitems.html#order")},
        {QStringLiteral("frmEditID"), QStringLiteral("lineitems.html#edit")},
        {QStringLiteral("frmAdminEdit"), QStringLiteral("totals.html#admin")},
        {QStringLiteral("frmUnitItem"), QStringLiteral("catalogue.html")},
        {QStringLiteral("frmAddMat"), QStringLiteral("catalogue.html#item")},
        {QStringLiteral("frmLabor"), QStringLiteral("catalogue.html#labor")},
        {QStringLiteral("frmPerc"), QStringLiteral("catalogue.html#labor")},
        {QStringLiteral("frmAddLabMat"), QStringLiteral("catalogue.html#unit")},
        {QStringLiteral("frmQty"), QStringLiteral("catalogue.html#unit")},
        {QStringLiteral("frmFind"), QStringLiteral("documents.html#find")},
        {QStringLiteral("frmPrintForms"), QStringLiteral("documents.html#forms")},
    };
    return map;
}

} // namespace

QString pageFor(const QString& windowName) {
    return pages().value(windowName, QStringLiteral("index.html"));
}

QStringList knownWindows() {
    return pages().keys();
}

bool Filter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
        return QObject::eventFilter(watched, event);
    QWidget* window = static_cast<QWidget*>(watched)->window();
    // The main window answers F1 with its own Help → Contents, and in the help itself F1 has
    // nothing more to show.
    if (!window || window->objectName() == QLatin1String("frmCorvanel") ||
        qobject_cast<HelpWindow*>(window))
        return QObject::eventFilter(watched, event);
    HelpWindow::showPage(*ctx_.prompt, window, pageFor(window->objectName()));
    return true;
}

} // namespace ContextHelp
